#include "transport/GrabBuffer.h"

#include "diag/DriverContext.h"
#include "transport/CameraError.h"
#include "transport/DataStream.h"
#include "transport/PixelFormat.h"

#include <cstring>
#include <limits>
#include <new>

namespace Kavrix {

namespace {

std::size_t BufferSize(std::int64_t height, std::int64_t width, std::uint32_t pixelFormat, std::int64_t payloadSize)
{
    // Computed wide and checked, so that an odd geometry cannot wrap into a
    // small or negative size.
    const std::int64_t bits = BitsPerPixel(pixelFormat);
    const bool sane = height > 0 && width > 0 && bits > 0 && height <= std::numeric_limits<std::int32_t>::max() &&
                      width <= std::numeric_limits<std::int32_t>::max() / height;
    const std::int64_t image = sane ? height * width * bits / 8 : 0;
    const std::int64_t size = image > 0 && payloadSize > image ? payloadSize : image;
    if (size <= 0 || size > std::numeric_limits<std::int32_t>::max()) {
        throw CameraError("GrabBuffer::GrabBuffer: Invalid image size " + std::to_string(width) + " x " +
                          std::to_string(height) + " at " + std::to_string(bits) + " bits per pixel");
    }
    return static_cast<std::size_t>(size);
}

}

GrabBuffer::GrabBuffer(DataStream& stream, std::int64_t height, std::int64_t width, std::uint32_t pixelFormat,
                       std::int64_t payloadSize)
    : mSize(BufferSize(height, width, pixelFormat, payloadSize)), mStream(stream), mPixelFormat(pixelFormat)
{
    // Uninitialised on purpose: the camera writes every byte before it is read.
    mMemory.reset(new unsigned char[mSize]);
    BUFFER_HANDLE handle = nullptr;
    CheckGCError(mStream.Api().DSAnnounceBuffer(mStream.GetHandle(), mMemory.get(), mSize, nullptr, &handle),
                 "GrabBuffer::GrabBuffer: Failed announce buffer");
    mHandle = handle;
}

GrabBuffer::~GrabBuffer()
{
    if (mHandle == nullptr) {
        return;
    }
    try {
        Revoke();
    } catch (const std::exception& e) {
        Log(1, "GrabBuffer::~GrabBuffer: ERROR: %s; the buffer's memory stays with the producer\n", e.what());
        mMemory.release();
    }
}

BUFFER_HANDLE GrabBuffer::GetHandle() const
{
    if (mHandle == nullptr) {
        throw CameraError("Buffer not announced");
    }
    return mHandle;
}

void GrabBuffer::QueueBuffer()
{
    if (mQueued) {
        throw CameraError("GrabBuffer::QueueBuffer: Buffer allready queued");
    }
    CheckGCError(mStream.Api().DSQueueBuffer(mStream.GetHandle(), GetHandle()), "Failed to queue buffer");
    mQueued = true;
}

void GrabBuffer::GetImage(void* destination, std::size_t size) const
{
    if (mPixelFormat != PixelFormatMono8) {
        throw CameraError("GrabBuffer::GetImage: Unsupported image format");
    }
    if (size > mSize) {
        throw CameraError("GrabBuffer::GetImage: Image size exceeds buffer size");
    }
    std::memcpy(destination, mMemory.get(), size);
}

void GrabBuffer::Revoke()
{
    void* memory = nullptr;
    void* context = nullptr;
    CheckGCError(mStream.Api().DSRevokeBuffer(mStream.GetHandle(), GetHandle(), &memory, &context),
                 "GrabBuffer::~GrabBuffer: Failed to revoke buffer");
    mHandle = nullptr;
    mQueued = false;
}

}
