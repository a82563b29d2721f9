// One buffer of a data stream: memory announced to the producer, filled by
// the camera, read out and queued again.
#pragma once

#include "TLI.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace Kavrix {

class DataStream;

class GrabBuffer {
public:
    // Allocates height x width x bits-per-pixel / 8 bytes, or payloadSize when
    // the camera sends more per frame (chunks, padding), and announces them.
    GrabBuffer(DataStream& stream, std::int64_t height, std::int64_t width, std::uint32_t pixelFormat,
               std::int64_t payloadSize = 0);
    // Revokes the buffer when it is still announced; memory the producer may
    // still hold is kept rather than freed under it.
    ~GrabBuffer();
    GrabBuffer(const GrabBuffer&) = delete;
    GrabBuffer& operator=(const GrabBuffer&) = delete;

    BUFFER_HANDLE GetHandle() const;
    void QueueBuffer();
    // Copies size bytes of a Mono8 image to destination.
    void GetImage(void* destination, std::size_t size) const;
    // Takes the buffer back from the producer; raises when it refuses.
    void Revoke();

    bool IsQueued() const { return mQueued; }
    void SetQueued(bool queued) { mQueued = queued; }
    std::size_t GetSize() const { return mSize; }
    const unsigned char* GetMemory() const { return mMemory.get(); }
    std::uint32_t GetPixelFormat() const { return mPixelFormat; }

private:
    std::unique_ptr<unsigned char[]> mMemory;
    std::size_t mSize = 0;
    DataStream& mStream;
    BUFFER_HANDLE mHandle = nullptr;
    bool mQueued = false;
    std::uint32_t mPixelFormat;
};

}
