// Profile files on systems without the private-profile functions: the whole
// file is read, edited as text and replaced by the edited text.
#include "os/Profile.h"

#include "os/posix/Descriptor.h"
#include "os/posix/FileReplace.h"
#include "os/posix/ProfileText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <numeric>
#include <optional>

namespace Os {

namespace {

// One read-modify-write at a time, so that writers in this process do not
// lose each other's keys.
std::mutex gProfileLock;

// A missing file is empty; nothing when the file is there but cannot be read
// or is no regular file. Opened without waiting, in case a pipe took the
// file's place after the check.
std::optional<std::string> ReadWholeFile(const std::string& path)
{
    if (IsNonRegularFile(path)) {
        return std::nullopt;
    }
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return std::string();
        }
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    std::string content;
    content.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t count = ::read(file.Get(), buffer, sizeof(buffer));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return std::nullopt;
        }
        if (count == 0) {
            return content;
        }
        content.append(buffer, static_cast<std::size_t>(count));
    }
}

std::optional<std::string> ReadLocked(const std::string& path)
{
    std::lock_guard<std::mutex> lock(gProfileLock);
    return ReadWholeFile(path);
}

bool WriteAll(const std::vector<ProfileKey>& keys, const std::string& path)
{
    std::lock_guard<std::mutex> lock(gProfileLock);
    // Writing over a file that could not be read would lose its settings.
    const std::optional<std::string> before = ReadWholeFile(path);
    if (!before) {
        return false;
    }
    ProfileText text(*before);
    for (const ProfileKey& key : keys) {
        text.Set(key.mSection, key.mKey, key.mValue);
    }
    return ReplaceFileContent(path, text.Content());
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

bool IsNonRegularFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, const std::string& path,
                              std::size_t bufferSize)
{
    if (bufferSize == 0) {
        return {};
    }
    std::string value;
    // A file that cannot be read acts as an empty one.
    const std::optional<std::string> content = ReadLocked(path);
    if (!content || !ProfileText(*content).Find(section, key, value)) {
        value = TrimDefault(defaultValue);
    }
    if (value.size() > bufferSize - 1) {
        value.resize(bufferSize - 1);
    }
    return value;
}

std::vector<ProfileSection> ReadProfileSections(const std::vector<std::string>& sections, const std::string& path,
                                                std::size_t bufferSize)
{
    std::vector<ProfileSection> found(sections.size());
    const std::optional<std::string> content = ReadLocked(path);
    if (!content) {
        return found;
    }
    std::vector<ProfileText::Keys> keys = ProfileText::SectionKeys(*content, sections);
    const std::size_t limit = bufferSize > 0 ? bufferSize - 1 : 0;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        for (auto& [key, value] : keys[i]) {
            if (value.size() > limit) {
                value.resize(limit);
            }
            found[i].Add(key, std::move(value));
        }
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
    if (keys.empty() || WriteAll(keys, path)) {
        return {};
    }
    // One replacement of the file: none of the keys is written.
    std::vector<std::size_t> failed(keys.size());
    std::iota(failed.begin(), failed.end(), std::size_t{0});
    return failed;
}

}
