#include "os/AppendFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace Os {

AppendFile::AppendFile(const std::string& path)
{
    do {
        mHandle = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    } while (mHandle < 0 && errno == EINTR);
    if (mHandle < 0) {
        mHandle = InvalidHandle;
    }
}

std::size_t AppendFile::WriteToSystem(const char* data, std::size_t size)
{
    std::size_t done = 0;
    // A short write is followed by another, which then says why it stopped
    // (ENOSPC on a full disk) or takes the rest.
    while (done < size) {
        const ssize_t written = ::write(mHandle, data + done, size - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            break;
        }
        done += static_cast<std::size_t>(written);
    }
    return done;
}

bool AppendFile::CloseSystemHandle()
{
    // close is not retried after EINTR: the descriptor is released either way.
    const bool closed = ::close(mHandle) == 0;
    mHandle = InvalidHandle;
    return closed;
}

}
