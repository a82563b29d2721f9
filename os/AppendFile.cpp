#include "os/AppendFile.h"

#include <algorithm>
#include <mutex>

namespace Os {

namespace {

struct SimulatedDisk {
    std::mutex lock;
    long long room = -1;
    bool failClose = false;
};

SimulatedDisk& Disk()
{
    static SimulatedDisk disk;
    return disk;
}

}

void SimulateDiskRoom(long long room, bool failClose)
{
    SimulatedDisk& disk = Disk();
    std::lock_guard<std::mutex> lock(disk.lock);
    disk.room = room;
    disk.failClose = room >= 0 && failClose;
}

std::size_t AppendFile::Write(const char* data, std::size_t size)
{
    if (!IsOpen() || data == nullptr || size == 0) {
        return 0;
    }
    SimulatedDisk& disk = Disk();
    std::unique_lock<std::mutex> lock(disk.lock);
    if (disk.room < 0) {
        lock.unlock();
        return WriteToSystem(data, size);
    }
    const std::size_t taken = std::min(size, static_cast<std::size_t>(disk.room));
    const std::size_t written = taken > 0 ? WriteToSystem(data, taken) : 0;
    disk.room -= static_cast<long long>(written);
    return written;
}

bool AppendFile::Close()
{
    if (!IsOpen()) {
        return true;
    }
    bool failClose = false;
    {
        SimulatedDisk& disk = Disk();
        std::lock_guard<std::mutex> lock(disk.lock);
        failClose = disk.failClose;
    }
    return CloseSystemHandle() && !failClose;
}

AppendFile::~AppendFile()
{
    Close();
}

}
