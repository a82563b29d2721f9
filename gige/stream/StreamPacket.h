// A stream packet from the camera as the packet sources hand it to the
// frame assembler, and the places a source may receive payload into.
#pragma once

#include "wire/GvspHeader.h"

#include <cstddef>
#include <cstdint>

namespace Gige {

struct StreamPacket {
    GvspHeader mHeader;
    const std::uint8_t* mBody = nullptr;
    std::size_t mBodySize = 0;
    // The system wrote the body straight to the place the assembler
    // predicted for it (PayloadSlot): nothing is left to copy.
    bool mInPlace = false;
};

// Where the assembler expects a coming payload packet: its part of the
// frame's buffer. A source that receives into it saves the copy.
struct PayloadSlot {
    std::uint8_t* mData = nullptr;
    std::size_t mSize = 0;
    std::uint64_t mBlockId = 0;
    std::uint32_t mPacketId = 0;
    bool mExtended = false;
};

}
