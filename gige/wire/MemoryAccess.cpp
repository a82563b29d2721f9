#include "wire/MemoryAccess.h"

#include "wire/BigEndian.h"
#include "wire/GvcpMessage.h"

#include <cstring>

namespace Gige {

namespace {

// READMEM: address32, reserved16, count16.
constexpr std::size_t ReadMemLength = 8;

// The address, then the block's bytes.
std::size_t PutBlock(const MemoryBlock& block, GvcpBuffer& out)
{
    Put32(&out[GvcpHeaderSize], block.mAddress);
    std::memcpy(&out[GvcpHeaderSize + 4], block.mData, block.mSize);
    return 4 + block.mSize;
}

}

bool IsValidMemoryCount(std::size_t count)
{
    return count > 0 && count <= MaxMemoryCount && count % 4 == 0;
}

std::size_t EncodeReadMemCommand(std::uint16_t requestId, std::uint32_t address, std::size_t count,
                                 GvcpBuffer& out)
{
    if (!IsValidMemoryCount(count))
        return 0;
    Put32(&out[GvcpHeaderSize], address);
    Put16(&out[GvcpHeaderSize + 4], 0);
    Put16(&out[GvcpHeaderSize + 6], static_cast<std::uint16_t>(count));
    return FinishCommand(CommandFlag::AckRequired, GvcpCode::ReadMemCmd, requestId, ReadMemLength, out);
}

WireError DecodeReadMemAck(const GvcpAck& ack, MemoryBlock& block)
{
    if (ack.mHeader.mAck != GvcpCode::ReadMemAck)
        return WireError::UnexpectedMessage;
    if (ack.mHeader.mLength < 4)
        return WireError::BadBodySize;
    block = {Get32(ack.mBody), ack.mBody + 4, ack.mHeader.mLength - 4u};
    return WireError::None;
}

std::size_t EncodeWriteMemCommand(std::uint16_t requestId, const MemoryBlock& block, GvcpBuffer& out)
{
    if (!IsValidMemoryCount(block.mSize))
        return 0;
    return FinishCommand(CommandFlag::AckRequired, GvcpCode::WriteMemCmd, requestId, PutBlock(block, out), out);
}

WireError DecodeWriteMemAck(const GvcpAck& ack, std::uint16_t& index)
{
    return DecodeIndexAck(ack, GvcpCode::WriteMemAck, index);
}

WireError DecodeReadMemCommand(const GvcpCommand& command, std::uint32_t& address, std::size_t& count)
{
    const WireError error = CheckCommand(command, GvcpCode::ReadMemCmd, ReadMemLength);
    if (error != WireError::None)
        return error;
    const std::size_t asked = Get16(command.mBody + 6);
    if (!IsValidMemoryCount(asked))
        return WireError::BadCount;
    address = Get32(command.mBody);
    count = asked;
    return WireError::None;
}

std::size_t EncodeReadMemAck(std::uint16_t ackId, const MemoryBlock& block, GvcpBuffer& out)
{
    if (!IsValidMemoryCount(block.mSize))
        return 0;
    return FinishAck(GvcpCode::ReadMemAck, ackId, PutBlock(block, out), out);
}

WireError DecodeWriteMemCommand(const GvcpCommand& command, MemoryBlock& block)
{
    if (command.mHeader.mCommand != GvcpCode::WriteMemCmd)
        return WireError::UnexpectedMessage;
    if (command.mHeader.mLength < 4)
        return WireError::BadBodySize;
    const std::size_t size = command.mHeader.mLength - 4u;
    if (!IsValidMemoryCount(size))
        return WireError::BadCount;
    block = {Get32(command.mBody), command.mBody + 4, size};
    return WireError::None;
}

std::size_t EncodeWriteMemAck(std::uint16_t ackId, std::uint16_t index, GvcpBuffer& out)
{
    return EncodeIndexAck(GvcpCode::WriteMemAck, ackId, index, out);
}

}
