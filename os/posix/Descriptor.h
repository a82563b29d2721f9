// A file descriptor owned by one object and closed with it.
#pragma once

#include <unistd.h>

#include <utility>

namespace Os {

class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : mFd(fd) {}
    ~Descriptor() { Reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : mFd(std::exchange(other.mFd, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        if (this != &other) {
            Reset(std::exchange(other.mFd, -1));
        }
        return *this;
    }

    int Get() const { return mFd; }
    bool IsValid() const { return mFd >= 0; }
    void Reset(int fd = -1)
    {
        if (mFd >= 0) {
            ::close(mFd);
        }
        mFd = fd;
    }
    // Some file systems report a failed write only when the file is closed.
    bool Close()
    {
        const int fd = std::exchange(mFd, -1);
        return ::close(fd) == 0;
    }

private:
    int mFd = -1;
};

}
