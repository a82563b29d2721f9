#include "wire/PacketResend.h"

#include "wire/BigEndian.h"
#include "wire/GvcpMessage.h"

namespace Gige {

namespace {

// Standard: channel16, block_id16, first and last packet IDs in the low 24
// bits of a word each. Extended: channel16, reserved16, first32, last32,
// block_id64.
constexpr std::size_t StandardLength = 12;
constexpr std::size_t ExtendedLength = 20;
constexpr std::uint32_t PacketIdMask = 0x00FFFFFF;

}

std::size_t EncodePacketResend(std::uint16_t requestId, const PacketResend& resend, GvcpBuffer& out)
{
    std::uint8_t* body = &out[GvcpHeaderSize];
    Put16(body, resend.mChannel);
    Put32(body + 4, resend.mFirstPacket);
    Put32(body + 8, resend.mLastPacket);
    if (resend.mExtended) {
        Put16(body + 2, 0);
        Put64(body + 12, resend.mBlockId);
        return FinishCommand(CommandFlag::ExtendedIds, GvcpCode::PacketResendCmd, requestId, ExtendedLength, out);
    }
    if (resend.mBlockId > 0xFFFF || resend.mFirstPacket > PacketIdMask || resend.mLastPacket > PacketIdMask)
        return 0;
    Put16(body + 2, static_cast<std::uint16_t>(resend.mBlockId));
    return FinishCommand(0, GvcpCode::PacketResendCmd, requestId, StandardLength, out);
}

WireError DecodePacketResend(const GvcpCommand& command, PacketResend& resend)
{
    const bool extended = (command.mHeader.mFlags & CommandFlag::ExtendedIds) != 0;
    const WireError error =
        CheckCommand(command, GvcpCode::PacketResendCmd, extended ? ExtendedLength : StandardLength);
    if (error != WireError::None)
        return error;
    const std::uint8_t* body = command.mBody;
    if (extended)
        resend = {true, Get16(body), Get64(body + 12), Get32(body + 4), Get32(body + 8)};
    else
        resend = {false, Get16(body), Get16(body + 2), Get32(body + 4) & PacketIdMask, Get32(body + 8) & PacketIdMask};
    return WireError::None;
}

}
