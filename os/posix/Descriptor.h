<<<<<<< HEAD
// A file descriptor owned by one object and closed with it.
=======
// A file descriptor, closed when it goes.
>>>>>>> main
#pragma once

#include <unistd.h>

<<<<<<< HEAD
#include <utility>

=======
>>>>>>> main
namespace Os {

class Descriptor {
public:
<<<<<<< HEAD
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
            close(mFd);
        }
        mFd = fd;
    }

private:
    int mFd = -1;
=======
    explicit Descriptor(int fd) : mFd(fd) {}
    ~Descriptor()
    {
        if (mFd >= 0) {
            ::close(mFd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return mFd; }
    // Some file systems report a failed write only when the file is closed.
    bool Close()
    {
        const int fd = mFd;
        mFd = -1;
        return ::close(fd) == 0;
    }

private:
    int mFd;
>>>>>>> main
};

}
