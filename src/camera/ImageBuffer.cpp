#include "camera/ImageBuffer.h"

#include "diag/DriverContext.h"

#include <boost/numeric/conversion/cast.hpp>

#include <cstdlib>
#include <limits>
#include <new>

namespace {

constexpr std::size_t Page = 4096;

}

ImageBuffer::ImageBuffer(bool colour, int width, int height)
    : mWidth(width), mHeight(static_cast<std::uint32_t>(height)), mColour(colour)
{
    // Computed in 64 bits: a large image must not wrap into a small buffer,
    // nor two negative sides make a positive size.
    const std::int64_t size = std::int64_t{colour ? 3 : 1} * width * height;
    Allocate(width < 0 || height < 0 ? -std::llabs(size) : size);
}

void ImageBuffer::Allocate(std::int64_t size)
{
    if (size <= 0) {
        Log(1, "ImageBuffer::Allocate: ERROR: incorrect size %lld\n", static_cast<long long>(size));
        throw "Err";
    }
    if (size == mSize) {
        return;
    }
    mData.reset();
    mSize = 0;
    if (size <= std::numeric_limits<int>::max()) {
        mData.reset(new (std::nothrow) unsigned char[static_cast<std::size_t>(size) + Page]);
    }
    if (!mData) {
        Log(1, "ImageBuffer::Allocate: ERROR: could not allocate buffer of required size %lld\n",
            static_cast<long long>(size));
        throw "Err";
    }
    mSize = static_cast<int>(size);
}

unsigned char* ImageBuffer::GetLine(int row)
{
    if (row < 0 || row >= boost::numeric_cast<int>(mHeight)) {
        Log(1, "ImageBuffer::GetLine: ERROR: line index out of range: %d", row);
        return nullptr;
    }
    if (!mData) {
        Log(1, "ImageBuffer::GetLine: ERROR: cannot proceed since it finds unallocated buffer\n");
        return nullptr;
    }
    const std::size_t offset = mOffset.load(std::memory_order_relaxed);
    return mData.get() + offset + static_cast<std::size_t>(row) * BytesPerPixel() * mWidth;
}

unsigned char* ImageBuffer::GetData()
{
    const std::size_t offset = mNextOffset.load(std::memory_order_relaxed);
    mOffset.store(offset, std::memory_order_relaxed);
    return mData.get() + offset;
}

void ImageBuffer::FollowReader(const unsigned char* rowZeroDestination)
{
    const auto destination = reinterpret_cast<std::uintptr_t>(rowZeroDestination);
    const auto data = reinterpret_cast<std::uintptr_t>(mData.get());
    const std::uintptr_t ahead = (destination - data - mOffset.load(std::memory_order_relaxed)) % Page;
    if (ahead != 0) {
        mNextOffset.store((destination - data) % Page, std::memory_order_relaxed);
    }
}
