// GigE Vision pixel-format codes: bits 16 to 23 give the bits per pixel.
#pragma once

#include <cstdint>

namespace Kavrix {

constexpr std::uint32_t PixelFormatMono8 = 0x01080001;

constexpr int BitsPerPixel(std::uint32_t pixelFormat)
{
    return static_cast<int>((pixelFormat >> 16) & 0xFF);
}

}
