// The text of a profile (INI) file and the two operations on it that the
// private-profile functions offer, with their rules for names and blanks.
#pragma once

#include <string>
#include <vector>

namespace Os {

class ProfileText {
public:
    explicit ProfileText(const std::string& content);

    // The value of the key, or nothing when the section or key is missing.
    bool Find(const std::string& section, const std::string& key, std::string& value) const;
    // Replaces the key's value, or adds the key (and its section) at the end
    // of the section (the file); every other line stays as it was.
    void Set(const std::string& section, const std::string& key, const std::string& value);
    std::string Content() const;

private:
    struct Line {
        std::string mText;
        bool mIsSection = false;
        std::string mName;   // section name, or key name of a key line
        bool mIsKey = false;
    };

    static Line Parse(const std::string& text);
    void Insert(std::size_t position, const std::string& text);

    std::vector<Line> mLines;
    std::string mLineEnd = "\n";
    bool mEndsWithLineEnd = true;
};

// Blanks around a name or value, as the profile functions ignore them.
std::string TrimBlanks(const std::string& text);

}
