#include "support/HostImage.h"

#include <cstring>

namespace Bench {

HostImage::HostImage(int width, int height)
    : mWidth(width), mHeight(height), mPixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
{
}

std::uint64_t HostImage::ReadRows(const DriverFunctions& driver, int port)
{
    std::uint64_t failed = 0;
    for (int row = 0; row < mHeight; ++row) {
        unsigned char* destination = mPixels.data() + static_cast<std::size_t>(row) * mWidth;
        if (driver.getCVLGrabRow(0, port, destination, row, 0, mWidth - 1) != 1) {
            ++failed;
        }
    }
    return failed;
}

std::uint32_t HostImage::FrameNumber() const
{
    std::uint32_t frame = 0;
    std::memcpy(&frame, mPixels.data(), sizeof frame);
    return frame;
}

}
