// A file that is only ever appended to, written straight through to the
// system: every write says how many bytes the system took, so a caller knows
// exactly what reached the file, also when the disk is full.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace Os {

class AppendFile {
public:
    // Opens path for appending, creating it when missing; IsOpen says whether
    // that worked.
    explicit AppendFile(const std::string& path);
    // Closes the file; a failing close is ignored here (see Close).
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    bool IsOpen() const { return mHandle != InvalidHandle; }
    // Appends as much of the bytes as the system takes and answers how many
    // that was: all of them, or fewer when the disk is full or the write fails.
    std::size_t Write(const char* data, std::size_t size);
    // False when the system reports a failure on closing. The bytes that Write
    // counted were taken by the system before that; which of them a failing
    // close lost cannot be known.
    bool Close();

private:
#if defined(_WIN32)
    using Handle = void*;
    static inline const Handle InvalidHandle = reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));
#else
    using Handle = int;
    static constexpr Handle InvalidHandle = -1;
#endif
    std::size_t WriteToSystem(const char* data, std::size_t size);
    // Releases the handle in any case; false when the system reported a failure.
    bool CloseSystemHandle();

    Handle mHandle = InvalidHandle;
};

// For tests: a disk that takes only so many more bytes across every
// AppendFile of the process; writes beyond them fail as on a full disk.
// room < 0 ends the simulation. failClose makes every close report a failure
// while the simulation lasts.
void SimulateDiskRoom(long long room, bool failClose = false);

}
