// PACKETRESEND: the host asks the camera for stream packets it missed. The
// camera sends no ack; the packets come again on the stream, marked resent.
#pragma once

#include "wire/GvcpHeader.h"

#include <cstddef>
#include <cstdint>

namespace Gige {

struct PacketResend {
    // 64-bit block ID and 32-bit packet IDs, as the stream has them when the
    // host enabled extended IDs; otherwise 16 and 24 bits.
    bool mExtended;
    std::uint16_t mChannel;
    std::uint64_t mBlockId;
    std::uint32_t mFirstPacket;
    std::uint32_t mLastPacket;
};

// 0 when a standard request's IDs do not fit their 16 or 24 bits.
std::size_t EncodePacketResend(std::uint16_t requestId, const PacketResend& resend, GvcpBuffer& out);
WireError DecodePacketResend(const GvcpCommand& command, PacketResend& resend);

}
