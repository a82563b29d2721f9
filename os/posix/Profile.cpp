// Profile files on systems without the private-profile functions: the whole
// file is read, edited as text and replaced by the edited text.
#include "os/Profile.h"

#include "os/posix/FileReplace.h"
#include "os/posix/ProfileText.h"

#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>

namespace Os {

namespace {

// One read-modify-write at a time, so that writers in this process do not
// lose each other's keys.
std::mutex gProfileLock;

// A missing file is empty; nothing when the file is there but unreadable.
std::optional<std::string> ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::error_code error;
        if (std::filesystem::exists(path, error) || error) {
            return std::nullopt;
        }
        return std::string();
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) {
        return std::nullopt;
    }
    return content.str();
}

// Windows ignores blanks at the end of a default.
std::string TrimDefault(const std::string& value)
{
    std::size_t end = value.size();
    while (end > 0 && value[end - 1] == ' ') {
        --end;
    }
    return value.substr(0, end);
}

}

std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, const std::string& path,
                              std::size_t bufferSize)
{
    if (bufferSize == 0) {
        return {};
    }
    std::string value;
    {
        std::lock_guard<std::mutex> lock(gProfileLock);
        // A file that cannot be read acts as an empty one.
        const std::optional<std::string> content = ReadWholeFile(path);
        if (!content || !ProfileText(*content).Find(section, key, value)) {
            value = TrimDefault(defaultValue);
        }
    }
    if (value.size() > bufferSize - 1) {
        value.resize(bufferSize - 1);
    }
    return value;
}

bool WriteProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& path)
{
    std::lock_guard<std::mutex> lock(gProfileLock);
    // Writing over a file that could not be read would lose its settings.
    const std::optional<std::string> before = ReadWholeFile(path);
    if (!before) {
        return false;
    }
    ProfileText text(*before);
    text.Set(section, key, value);
    return ReplaceFileContent(path, text.Content());
}

}
