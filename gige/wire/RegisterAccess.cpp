#include "wire/RegisterAccess.h"

#include "wire/BigEndian.h"
#include "wire/GvcpMessage.h"

namespace Gige {

std::size_t EncodeReadRegCommand(std::uint16_t requestId, const std::uint32_t* addresses, std::size_t count,
                                 GvcpBuffer& out)
{
    if (count == 0 || count > MaxReadRegCount)
        return 0;
    for (std::size_t i = 0; i < count; ++i)
        Put32(&out[GvcpHeaderSize + 4 * i], addresses[i]);
    return FinishCommand(CommandFlag::AckRequired, GvcpCode::ReadRegCmd, requestId, 4 * count, out);
}

WireError DecodeReadRegAck(const GvcpAck& ack, std::uint32_t* values, std::size_t count)
{
    const WireError error = CheckAck(ack, GvcpCode::ReadRegAck, 4 * count);
    if (error != WireError::None)
        return error;
    for (std::size_t i = 0; i < count; ++i)
        values[i] = Get32(ack.mBody + 4 * i);
    return WireError::None;
}

std::size_t EncodeWriteRegCommand(std::uint16_t requestId, const RegisterWrite* writes, std::size_t count,
                                  GvcpBuffer& out)
{
    if (count == 0 || count > MaxWriteRegCount)
        return 0;
    for (std::size_t i = 0; i < count; ++i) {
        Put32(&out[GvcpHeaderSize + 8 * i], writes[i].mAddress);
        Put32(&out[GvcpHeaderSize + 8 * i + 4], writes[i].mValue);
    }
    return FinishCommand(CommandFlag::AckRequired, GvcpCode::WriteRegCmd, requestId, 8 * count, out);
}

WireError DecodeWriteRegAck(const GvcpAck& ack, std::uint16_t& index)
{
    return DecodeIndexAck(ack, GvcpCode::WriteRegAck, index);
}

WireError DecodeReadRegCommand(const GvcpCommand& command, std::vector<std::uint32_t>& addresses)
{
    const std::size_t length = command.mHeader.mLength;
    if (command.mHeader.mCommand != GvcpCode::ReadRegCmd)
        return WireError::UnexpectedMessage;
    if (length == 0 || length % 4 != 0)
        return WireError::BadBodySize;
    addresses.clear();
    for (std::size_t offset = 0; offset < length; offset += 4)
        addresses.push_back(Get32(command.mBody + offset));
    return WireError::None;
}

std::size_t EncodeReadRegAck(std::uint16_t ackId, const std::uint32_t* values, std::size_t count, GvcpBuffer& out)
{
    if (count == 0 || count > MaxReadRegCount)
        return 0;
    for (std::size_t i = 0; i < count; ++i)
        Put32(&out[GvcpHeaderSize + 4 * i], values[i]);
    return FinishAck(GvcpCode::ReadRegAck, ackId, 4 * count, out);
}

WireError DecodeWriteRegCommand(const GvcpCommand& command, std::vector<RegisterWrite>& writes)
{
    const std::size_t length = command.mHeader.mLength;
    if (command.mHeader.mCommand != GvcpCode::WriteRegCmd)
        return WireError::UnexpectedMessage;
    if (length == 0 || length % 8 != 0)
        return WireError::BadBodySize;
    writes.clear();
    for (std::size_t offset = 0; offset < length; offset += 8)
        writes.push_back({Get32(command.mBody + offset), Get32(command.mBody + offset + 4)});
    return WireError::None;
}

std::size_t EncodeWriteRegAck(std::uint16_t ackId, std::uint16_t index, GvcpBuffer& out)
{
    return EncodeIndexAck(GvcpCode::WriteRegAck, ackId, index, out);
}

}
