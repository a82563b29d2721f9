#include "os/posix/ProfileText.h"

#include <cctype>

namespace Os {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view TrimView(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// What one line is to the profile functions: a section with its name, a key
// with its name and value (blanks around each left out), or anything else.
struct LineKind {
    bool mIsSection = false;
    bool mIsKey = false;
    std::string_view mName;
    std::string_view mValue;
};

LineKind Classify(std::string_view text)
{
    LineKind kind;
    const std::string_view trimmed = TrimView(text);
    if (trimmed.empty() || trimmed[0] == ';') {
        return kind;
    }
    if (trimmed[0] == '[') {
        const std::size_t close = trimmed.find(']');
        if (close != std::string_view::npos) {
            kind.mIsSection = true;
            kind.mName = TrimView(trimmed.substr(1, close - 1));
        }
        return kind;
    }
    const std::size_t equals = trimmed.find('=');
    if (equals != std::string_view::npos) {
        kind.mIsKey = true;
        kind.mName = TrimView(trimmed.substr(0, equals));
        kind.mValue = TrimView(trimmed.substr(equals + 1));
    }
    return kind;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// A value in matching single or double quotes loses them.
std::string Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

}

std::string TrimBlanks(const std::string& text)
{
    return std::string(TrimView(text));
}

ProfileText::ProfileText(const std::string& content)
{
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        const bool complete = end != std::string::npos;
        if (!complete) {
            end = content.size();
        }
        std::string text = content.substr(start, end - start);
        // New lines follow the file's own line ends (CRLF from Windows).
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
            if (mLines.empty()) {
                mLineEnd = "\r\n";
            }
        }
        mLines.push_back(Parse(text));
        mEndsWithLineEnd = complete;
        start = end + 1;
    }
}

ProfileText::Line ProfileText::Parse(const std::string& text)
{
    const LineKind kind = Classify(text);
    Line line;
    line.mText = text;
    line.mIsSection = kind.mIsSection;
    line.mIsKey = kind.mIsKey;
    line.mName = std::string(kind.mName);
    return line;
}

bool ProfileText::Find(const std::string& section, const std::string& key, std::string& value) const
{
    const std::string wantedSection = TrimBlanks(section);
    const std::string wantedKey = TrimBlanks(key);
    bool inSection = false;
    for (const Line& line : mLines) {
        if (line.mIsSection) {
            inSection = SameName(line.mName, wantedSection);
        } else if (inSection && line.mIsKey && SameName(line.mName, wantedKey)) {
            value = Unquote(Classify(line.mText).mValue);
            return true;
        }
    }
    return false;
}

std::vector<ProfileText::Keys> ProfileText::SectionKeys(std::string_view content,
                                                        const std::vector<std::string>& sections)
{
    std::vector<std::string> wanted;
    for (const std::string& section : sections) {
        wanted.push_back(TrimBlanks(section));
    }
    std::vector<Keys> keys(sections.size());
    std::vector<std::size_t> current;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string_view::npos) {
            end = content.size();
        }
        const LineKind kind = Classify(content.substr(start, end - start));
        start = end + 1;
        if (kind.mIsSection) {
            current.clear();
            for (std::size_t i = 0; i < wanted.size(); ++i) {
                if (SameName(kind.mName, wanted[i])) {
                    current.push_back(i);
                }
            }
        } else if (kind.mIsKey) {
            for (std::size_t i : current) {
                keys[i].emplace_back(std::string(kind.mName), Unquote(kind.mValue));
            }
        }
    }
    return keys;
}

void ProfileText::Set(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string wantedSection = TrimBlanks(section);
    const std::string wantedKey = TrimBlanks(key);
    std::size_t sectionEnd = mLines.size();   // after the last content line of the section
    bool found = false;
    bool inSection = false;
    for (std::size_t i = 0; i < mLines.size(); ++i) {
        Line& line = mLines[i];
        if (line.mIsSection) {
            if (found && inSection) {
                break;
            }
            inSection = SameName(line.mName, wantedSection);
            if (inSection) {
                found = true;
                sectionEnd = i + 1;
            }
        } else if (inSection) {
            if (line.mIsKey && SameName(line.mName, wantedKey)) {
                line = Parse(line.mName + "=" + value);
                return;
            }
            if (!TrimBlanks(line.mText).empty()) {
                sectionEnd = i + 1;
            }
        }
    }
    if (found) {
        Insert(sectionEnd, wantedKey + "=" + value);
        return;
    }
    Insert(mLines.size(), "[" + wantedSection + "]");
    Insert(mLines.size(), wantedKey + "=" + value);
}

void ProfileText::Insert(std::size_t position, const std::string& text)
{
    if (position == mLines.size()) {
        mEndsWithLineEnd = true;
    }
    mLines.insert(mLines.begin() + static_cast<std::ptrdiff_t>(position), Parse(text));
}

std::string ProfileText::Content() const
{
    std::string content;
    for (std::size_t i = 0; i < mLines.size(); ++i) {
        content += mLines[i].mText;
        if (i + 1 < mLines.size() || mEndsWithLineEnd) {
            content += mLineEnd;
        }
    }
    return content;
}

}
