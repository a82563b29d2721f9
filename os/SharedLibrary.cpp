// The parts of SharedLibrary that are the same on both systems.
#include "os/SharedLibrary.h"

#include <utility>

namespace Os {

SharedLibrary::~SharedLibrary()
{
    Unload();
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : mHandle(std::exchange(other.mHandle, nullptr)), mLastError(std::move(other.mLastError))
{
}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept
{
    if (this != &other) {
        Unload();
        mHandle = std::exchange(other.mHandle, nullptr);
        mLastError = std::move(other.mLastError);
    }
    return *this;
}

}
