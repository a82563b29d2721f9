#include "os/AppendFile.h"

#include <windows.h>

#include <algorithm>

namespace Os {

AppendFile::AppendFile(const std::string& path)
{
    // Others may read, append to or remove the file while it is open, as with
    // a log file opened by the C library.
    mHandle = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::size_t AppendFile::WriteToSystem(const char* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
        DWORD written = 0;
        // A failing write (ERROR_DISK_FULL) may still have taken some bytes.
        const bool ok = ::WriteFile(mHandle, data + done, chunk, &written, nullptr) != 0;
        done += written;
        if (!ok || written == 0) {
            break;
        }
    }
    return done;
}

bool AppendFile::CloseSystemHandle()
{
    const bool closed = ::CloseHandle(mHandle) != 0;
    mHandle = InvalidHandle;
    return closed;
}

}
