#include "camsim/FramePattern.h"

#include <algorithm>
#include <cstring>

namespace CamSim {

std::size_t FramePattern::Fill(std::uint8_t* destination, std::size_t capacity, const FrameGeometry& geometry,
                               std::uint32_t frameNumber)
{
    const auto frameBytes = static_cast<std::size_t>(std::min<std::uint64_t>(geometry.FrameBytes(), capacity));
    const std::size_t rowBytes = std::max<std::size_t>(std::size_t{geometry.mWidth} * geometry.mBitsPerPixel / 8, 1);
    if (mRamp.size() < rowBytes + 256) {
        mRamp.resize(rowBytes + 256);
        for (std::size_t i = 0; i < mRamp.size(); ++i)
            mRamp[i] = static_cast<std::uint8_t>(i);
    }
    const std::uint32_t shift = geometry.mOffsetX + geometry.mOffsetY + frameNumber;
    std::size_t done = 0;
    for (std::uint32_t row = 0; done < frameBytes; ++row) {
        const std::size_t count = std::min(rowBytes, frameBytes - done);
        std::memcpy(destination + done, mRamp.data() + ((shift + row) & 0xFFu), count);
        done += count;
    }
    for (std::size_t i = 0; i < 4 && i < frameBytes; ++i)
        destination[i] = static_cast<std::uint8_t>(frameNumber >> (8 * i));
    return frameBytes;
}

}
