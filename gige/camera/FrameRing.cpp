#include "FrameRing.h"

#include <algorithm>

namespace GigeCamera {

FrameRing::FrameRing(std::size_t depth) : mDepth(depth), mFrames(std::max<std::size_t>(depth, 1))
{
}

SentFrame& FrameRing::Next()
{
    SentFrame& frame = mFrames[mNext];
    mNext = (mNext + 1) % mFrames.size();
    // Until it is filled it answers no request.
    frame.mBlockId = 0;
    return frame;
}

const SentFrame* FrameRing::Find(std::uint64_t blockId, bool extended) const
{
    if (mDepth == 0 || blockId == 0)
        return nullptr;
    for (const SentFrame& frame : mFrames)
        if (frame.mBlockId == blockId && frame.mExtended == extended)
            return &frame;
    return nullptr;
}

}
