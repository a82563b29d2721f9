// The camera's last frames as it sent them, for resend requests: the oldest
// one's place is taken by the next frame. Used by the stream thread alone.
#pragma once

#include "wire/ImageLeader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace GigeCamera {

struct SentFrame {
    std::uint64_t mBlockId = 0;   // as sent: at most 16 bits with standard ids
    bool mExtended = false;
    std::uint32_t mBytesPerPacket = 0;
    std::uint32_t mPayloadPackets = 0;   // the trailer's packet id is one more
    Gige::ImageLeader mLeader{};
    std::vector<std::uint8_t> mPixels;
};

class FrameRing {
public:
    // depth 0: frames are not kept (there is still a place for the one
    // being sent, but Find never answers it).
    explicit FrameRing(std::size_t depth);

    // The place for the next frame, its memory reused.
    SentFrame& Next();
    // The frame of that block id and kind of id, or null when it is gone.
    const SentFrame* Find(std::uint64_t blockId, bool extended) const;

private:
    std::size_t mDepth;
    std::vector<SentFrame> mFrames;
    std::size_t mNext = 0;
};

}
