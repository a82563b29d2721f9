#include "wire/GvcpHeader.h"

#include "wire/BigEndian.h"

namespace Gige {

namespace {

bool LengthMatches(const std::uint8_t* data, std::size_t size)
{
    return Get16(data + 4) == size - GvcpHeaderSize;
}

}

WireError DecodeCommand(const std::uint8_t* data, std::size_t size, GvcpCommand& command)
{
    if (size < GvcpHeaderSize)
        return WireError::Truncated;
    if (data[0] != GvcpKey)
        return WireError::NotACommand;
    if (!LengthMatches(data, size))
        return WireError::LengthMismatch;
    command.mHeader = {data[1], static_cast<GvcpCode>(Get16(data + 2)), Get16(data + 4), Get16(data + 6)};
    command.mBody = data + GvcpHeaderSize;
    return WireError::None;
}

WireError DecodeAck(const std::uint8_t* data, std::size_t size, GvcpAck& ack)
{
    if (size < GvcpHeaderSize)
        return WireError::Truncated;
    if (data[0] == GvcpKey)
        return WireError::NotAnAck;
    if (!LengthMatches(data, size))
        return WireError::LengthMismatch;
    ack.mHeader = {Get16(data), static_cast<GvcpCode>(Get16(data + 2)), Get16(data + 4), Get16(data + 6)};
    ack.mBody = data + GvcpHeaderSize;
    return WireError::None;
}

std::size_t EncodeCommandHeader(const CommandHeader& header, GvcpBuffer& out)
{
    out[0] = GvcpKey;
    out[1] = header.mFlags;
    Put16(&out[2], static_cast<std::uint16_t>(header.mCommand));
    Put16(&out[4], header.mLength);
    Put16(&out[6], header.mRequestId);
    return GvcpHeaderSize;
}

std::size_t EncodeAckHeader(const AckHeader& header, GvcpBuffer& out)
{
    Put16(&out[0], header.mStatus);
    Put16(&out[2], static_cast<std::uint16_t>(header.mAck));
    Put16(&out[4], header.mLength);
    Put16(&out[6], header.mAckId);
    return GvcpHeaderSize;
}

}
