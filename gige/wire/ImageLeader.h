// The bodies of an image's leader and trailer, after the packet header.
// The leader says what the frame holds; the trailer how many lines came.
#pragma once

#include "wire/GvspHeader.h"

#include <cstddef>
#include <cstdint>

namespace Gige {

constexpr std::size_t ImageLeaderSize = 36;
constexpr std::size_t ImageTrailerSize = 8;

namespace PayloadType {
constexpr std::uint16_t Image = 0x0001;
constexpr std::uint16_t RawData = 0x0002;
constexpr std::uint16_t File = 0x0003;
constexpr std::uint16_t ChunkData = 0x0004;
constexpr std::uint16_t Jpeg = 0x0006;
constexpr std::uint16_t H264 = 0x0008;
constexpr std::uint16_t MultiZone = 0x0009;
constexpr std::uint16_t Multipart = 0x000A;
// Set beside the type when chunk data follows the payload.
constexpr std::uint16_t ChunksAppended = 0x4000;
}

struct ImageLeader {
    std::uint16_t mPayloadType;   // PayloadType::Image, possibly with ChunksAppended
    std::uint64_t mTimestamp;     // camera ticks
    std::uint32_t mPixelFormat;   // PFNC code, e.g. 0x01080001 Mono8
    std::uint32_t mSizeX;
    std::uint32_t mSizeY;
    std::uint32_t mOffsetX;
    std::uint32_t mOffsetY;
    std::uint16_t mPaddingX;      // bytes after each line
    std::uint16_t mPaddingY;      // bytes after the image
};

struct ImageTrailer {
    std::uint16_t mPayloadType;
    std::uint32_t mSizeY;         // the lines sent, fewer than the leader's for a cut frame
};

// UnexpectedMessage when the packet is not a leader (trailer), Truncated
// when its body is shorter than the structure, NotAnImage for another
// payload type. Bytes after the structure are left alone.
WireError DecodeImageLeader(const GvspPacket& packet, ImageLeader& leader);
WireError DecodeImageTrailer(const GvspPacket& packet, ImageTrailer& trailer);

// Write the body at out and return its size, or 0 when it does not fit.
std::size_t EncodeImageLeader(const ImageLeader& leader, std::uint8_t* out, std::size_t capacity);
std::size_t EncodeImageTrailer(const ImageTrailer& trailer, std::uint8_t* out, std::size_t capacity);

}
