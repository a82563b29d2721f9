// What the receiver needs of its stream: a queued buffer for each frame that
// begins, a record for each frame it hands over, and an ear for its failure.
#pragma once

#include "TLI.h"
#include "stream/Stream.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace Gige {

// An announced buffer while a frame fills it.
struct FrameBuffer {
    BUFFER_HANDLE mHandle = nullptr;
    std::uint8_t* mData = nullptr;
    std::size_t mSize = 0;
};

class BufferExchange {
public:
    enum class Take {
        Taken,
        NoneQueued,   // an underrun: the frame is dropped
        NotWanted,    // the frames asked for are in, or the camera is lost
    };
    virtual Take TakeQueued(FrameBuffer& buffer) = 0;
    // The frame is over: the buffer becomes a record with this code.
    virtual void Deliver(const FrameBuffer& buffer, const BufferInfo& info, GC_ERROR code) = 0;
    // The system failed the receiver, which receives no more.
    virtual void ReceivingFailed(const std::string& reason) = 0;

protected:
    ~BufferExchange() = default;
};

}
