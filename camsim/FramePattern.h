// The picture a simulated camera sends: a diagonal grey ramp that moves one
// step per frame, with the frame number in the first four bytes, so a test
// can check order and integrity of every image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace CamSim {

struct FrameGeometry {
    std::uint32_t mWidth;
    std::uint32_t mHeight;
    std::uint32_t mOffsetX;
    std::uint32_t mOffsetY;
    std::uint32_t mBitsPerPixel;
    std::uint32_t mPixelFormat;   // its code, 0x01080001 for Mono8

    // As a host computes a buffer's size: width × height × bits / 8.
    std::uint64_t FrameBytes() const { return std::uint64_t{mWidth} * mHeight * mBitsPerPixel / 8; }
};

class FramePattern {
public:
    // Fills at most capacity bytes and answers how many it filled; byte x of
    // row y is (x + y + offsetX + offsetY + frameNumber) mod 256, except the
    // frame number itself (little-endian) in bytes 0 to 3.
    std::size_t Fill(std::uint8_t* destination, std::size_t capacity, const FrameGeometry& geometry,
                     std::uint32_t frameNumber);

private:
    // 0, 1, ..., 255, 0, 1, ...: every row is a copy out of it.
    std::vector<std::uint8_t> mRamp;
};

}
