// The text of a profile (INI) file and the two operations on it that the
// private-profile functions offer, with their rules for names and blanks.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Os {

class ProfileText {
public:
    explicit ProfileText(const std::string& content);

    // The value of the key, or nothing when the section or key is missing.
    bool Find(const std::string& section, const std::string& key, std::string& value) const;
    // Every key of each of the sections in the file's order, with its value
    // as Find gives it; a section that comes twice counts as one. One pass
    // over the content, without building the lines of a ProfileText.
    using Keys = std::vector<std::pair<std::string, std::string>>;
    static std::vector<Keys> SectionKeys(std::string_view content, const std::vector<std::string>& sections);
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
