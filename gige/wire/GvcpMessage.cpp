#include "wire/GvcpMessage.h"

#include "wire/BigEndian.h"
#include "wire/GvcpStatus.h"

namespace Gige {

namespace {

constexpr std::size_t IndexAckLength = 4;

}

std::size_t FinishCommand(std::uint8_t flags, GvcpCode command, std::uint16_t requestId, std::size_t length,
                          GvcpBuffer& out)
{
    return EncodeCommandHeader({flags, command, static_cast<std::uint16_t>(length), requestId}, out) + length;
}

std::size_t FinishAck(GvcpCode ack, std::uint16_t ackId, std::size_t length, GvcpBuffer& out)
{
    return EncodeAckHeader({GvcpStatus::Success, ack, static_cast<std::uint16_t>(length), ackId}, out) + length;
}

WireError CheckCommand(const GvcpCommand& command, GvcpCode code, std::size_t length)
{
    if (command.mHeader.mCommand != code)
        return WireError::UnexpectedMessage;
    return command.mHeader.mLength == length ? WireError::None : WireError::BadBodySize;
}

WireError CheckAck(const GvcpAck& ack, GvcpCode code, std::size_t length)
{
    if (ack.mHeader.mAck != code)
        return WireError::UnexpectedMessage;
    return ack.mHeader.mLength == length ? WireError::None : WireError::BadBodySize;
}

std::size_t EncodeIndexAck(GvcpCode ack, std::uint16_t ackId, std::uint16_t index, GvcpBuffer& out)
{
    Put16(&out[GvcpHeaderSize], 0);
    Put16(&out[GvcpHeaderSize + 2], index);
    return FinishAck(ack, ackId, IndexAckLength, out);
}

WireError DecodeIndexAck(const GvcpAck& ack, GvcpCode code, std::uint16_t& index)
{
    const WireError error = CheckAck(ack, code, IndexAckLength);
    if (error == WireError::None)
        index = Get16(ack.mBody + 2);
    return error;
}

}
