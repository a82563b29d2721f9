#include "os/posix/FileReplace.h"

#include "os/posix/Descriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <optional>
#include <string>
#include <vector>

namespace Os {

namespace {

// The kernel's own limit on symbolic links in one path; more is a loop.
constexpr int MaxLinks = 40;
// Attempts at a free temporary name before giving up.
constexpr int MaxNameAttempts = 100;

// The temporary file, removed again unless it has taken the target's place.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile()
    {
        if (!mPath.empty()) {
            ::unlink(mPath.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates it exclusively, with the mode a new file gets from the process's
    // umask; -1 when it cannot be created.
    int Create(const std::string& folder, const std::string& name)
    {
        static std::atomic<unsigned> counter{0};
        for (int attempt = 0; attempt < MaxNameAttempts; ++attempt) {
            // Hidden, and unique to this process and call: a name left by a
            // crashed writer is skipped.
            const std::string path = folder + "/." + name + "." + std::to_string(::getpid()) + "-" +
                                     std::to_string(counter++);
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                mPath = path;
                return fd;
            }
            if (errno != EEXIST) {
                return -1;
            }
        }
        return -1;
    }
    bool Commit(const std::string& target)
    {
        if (::rename(mPath.c_str(), target.c_str()) != 0) {
            return false;
        }
        mPath.clear();
        return true;
    }

private:
    std::string mPath;
};

std::string Folder(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Name(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path a chain of symbolic links ends at (which need not exist);
// nothing for a loop or a link that cannot be read.
std::optional<std::string> FinalPath(std::string path)
{
    for (int links = 0; links <= MaxLinks; ++links) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) {
            if (errno == ENOENT) {
                return path;
            }
            return std::nullopt;
        }
        if (!S_ISLNK(info.st_mode)) {
            return path;
        }
        std::vector<char> target(info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : PATH_MAX);
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
            return std::nullopt;
        }
        const std::string next(target.data(), static_cast<std::size_t>(length));
        path = next[0] == '/' ? next : Folder(path) + "/" + next;
    }
    return std::nullopt;
}

bool WriteAll(int fd, const std::string& content)
{
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

// The old file's permission bits, owner and group for the new one.
bool KeepAttributes(int fd, const struct stat& old)
{
    if (::fchmod(fd, old.st_mode & 07777) != 0) {
        return false;
    }
    if (old.st_uid == ::geteuid() && old.st_gid == ::getegid()) {
        return true;
    }
    // Only a privileged writer may give a file to someone else; for anyone
    // else the new file is the writer's, as an editor's save leaves it.
    return ::fchown(fd, old.st_uid, old.st_gid) == 0 || errno == EPERM;
}

// The rename reaches the disk with its folder.
void FlushFolder(const std::string& folder)
{
    const Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.Get() >= 0) {
        ::fsync(directory.Get());
    }
}

}

bool ReplaceFileContent(const std::string& path, const std::string& content)
{
    const std::optional<std::string> target = FinalPath(path);
    if (!target) {
        return false;
    }
    struct stat old {};
    const bool exists = ::stat(target->c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        return false;
    }
    // A folder, a device or a pipe is no settings file to replace.
    if (exists && !S_ISREG(old.st_mode)) {
        return false;
    }
    const std::string folder = Folder(*target);
    TemporaryFile temporary;
    Descriptor file(temporary.Create(folder, Name(*target)));
    if (file.Get() < 0) {
        return false;
    }
    if ((exists && !KeepAttributes(file.Get(), old)) || !WriteAll(file.Get(), content) ||
        ::fsync(file.Get()) != 0 || !file.Close() || !temporary.Commit(*target)) {
        return false;
    }
    // The new content is in place whatever happens now: a folder that cannot
    // be flushed only leaves the rename's durability to the system.
    FlushFolder(folder);
    return true;
}

}
