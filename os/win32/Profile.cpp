#include "os/Profile.h"

#include <windows.h>
// windows.h names its own WriteProfileString function by this macro.
#undef WriteProfileString

#include <algorithm>
#include <vector>

namespace Os {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string TrimBlanks(const std::string& text)
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

// A value as GetPrivateProfileStringA copies it into a buffer of bufferSize:
// one pair of matching quotes goes, and the copy is cut to the buffer; when
// the cut takes the closing quote, the character before it goes instead.
std::string AsReadByKey(const std::string& value, std::size_t bufferSize)
{
    const bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    const std::string rest = quoted ? value.substr(1) : value;
    std::string copy = rest.substr(0, bufferSize > 0 ? bufferSize - 1 : 0);
    if (quoted && bufferSize >= rest.size() && !copy.empty()) {
        copy.pop_back();
    }
    return copy;
}

// "key=value" strings, each ended by a null character, until an empty one.
ProfileSection ParseSection(const std::vector<char>& buffer, std::size_t length, std::size_t bufferSize)
{
    ProfileSection section;
    std::size_t at = 0;
    while (at < length && buffer[at] != '\0') {
        const std::string entry(&buffer[at]);
        at += entry.size() + 1;
        const std::size_t equals = entry.find('=');
        const std::string key = TrimBlanks(entry.substr(0, equals));
        if (key.empty()) {
            continue;
        }
        // A line without "=" is a key without a value: its read gives the default.
        if (equals == std::string::npos) {
            section.Add(key, std::nullopt);
        } else {
            section.Add(key, AsReadByKey(TrimBlanks(entry.substr(equals + 1)), bufferSize));
        }
    }
    return section;
}

}

bool IsNonRegularFile(const std::string& path)
{
    // Opened for its attributes alone, which waits for nothing; a folder
    // opens only with the backup flag.
    const HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool nonRegular = GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
                            (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    CloseHandle(file);
    return nonRegular;
}

std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, const std::string& path,
                              std::size_t bufferSize)
{
    const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bufferSize, 0x7FFFFFFF));
    if (size == 0) {
        return {};
    }
    std::vector<char> buffer(size);
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                                  buffer.data(), size, path.c_str());
    return std::string(buffer.data(), std::min<DWORD>(length, size - 1));
}

std::vector<ProfileSection> ReadProfileSections(const std::vector<std::string>& sections, const std::string& path,
                                                std::size_t bufferSize)
{
    std::vector<ProfileSection> found(sections.size());
    if (IsNonRegularFile(path)) {
        return found;
    }
    std::vector<char> buffer(64 * 1024);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        DWORD length = 0;
        for (;;) {
            const DWORD size = static_cast<DWORD>(buffer.size());
            length = GetPrivateProfileSectionA(sections[i].c_str(), buffer.data(), size, path.c_str());
            // A section too long for the buffer comes back cut, as size - 2.
            if (length + 2 < size || size > 0x3FFFFFFF) {
                break;
            }
            buffer.resize(buffer.size() * 2);
        }
        found[i] = ParseSection(buffer, length, bufferSize);
    }
    return found;
}

bool WriteProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& path)
{
    return WriteProfileStrings({{section, key, value}}, path).empty();
}

std::vector<std::size_t> WriteProfileStrings(const std::vector<ProfileKey>& keys, const std::string& path)
{
    const bool nonRegular = !keys.empty() && IsNonRegularFile(path);
    std::vector<std::size_t> failed;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (nonRegular || WritePrivateProfileStringA(keys[i].mSection.c_str(), keys[i].mKey.c_str(),
                                                  keys[i].mValue.c_str(), path.c_str()) == FALSE) {
            failed.push_back(i);
        }
    }
    return failed;
}

}
