// The header of a stream packet: 8 bytes with 16-bit block and 24-bit
// packet IDs, or 20 bytes with 64-bit and 32-bit IDs when the camera sets
// the extended-ID bit. The decoder is the first step for every packet of a
// frame: it allocates nothing and copies no payload.
#pragma once

#include "wire/WireError.h"

#include <cstddef>
#include <cstdint>

namespace Gige {

constexpr std::size_t GvspHeaderSize = 8;
constexpr std::size_t GvspExtendedHeaderSize = 20;

// A frame is a leader (packet 0), payload packets 1..N and a trailer (N+1).
enum class GvspFormat : std::uint8_t {
    Leader = 1,
    Trailer = 2,
    Payload = 3,
    AllIn = 4,
    H264 = 5,
    MultiZone = 6,
    Multipart = 7,
    GenDc = 8
};

namespace GvspFlag {
constexpr std::uint16_t Resent = 0x1;
constexpr std::uint16_t PreviousBlockDropped = 0x2;
constexpr std::uint16_t ResendRangeError = 0x4;
}

struct GvspHeader {
    std::uint16_t mStatus;      // GvcpStatus: 0, or 0x0100 for a packet sent again
    bool mExtended;
    std::uint16_t mFlags;       // GvspFlag, extended headers only
    GvspFormat mFormat;         // a format not listed is carried as it came
    std::uint64_t mBlockId;     // the frame; a camera never sends 0
    std::uint32_t mPacketId;
};

// A decoded packet; the body stays in the datagram.
struct GvspPacket {
    GvspHeader mHeader;
    const std::uint8_t* mBody;
    std::size_t mBodySize;
};

// Truncated when the datagram is shorter than its header.
WireError DecodeGvspPacket(const std::uint8_t* data, std::size_t size, GvspPacket& packet);

// Writes the header at out and returns its size, or 0 when it does not fit
// capacity, or a standard header cannot hold the IDs or flags.
std::size_t EncodeGvspHeader(const GvspHeader& header, std::uint8_t* out, std::size_t capacity);

// The packet answers a resend request.
bool IsResent(const GvspHeader& header);

}
