// READMEM and WRITEMEM: a block of bytes at a 32-bit address. The count is
// a multiple of 4 from 4 to 536, so a block fits one datagram. Every ack
// decoder here reads the body of a successful ack; the caller looks at the
// status first.
#pragma once

#include "wire/GvcpHeader.h"

#include <cstddef>
#include <cstdint>

namespace Gige {

constexpr std::size_t MaxMemoryCount = GvcpMaxDatagram - GvcpHeaderSize - 4;

// True for a count that a memory access may carry.
bool IsValidMemoryCount(std::size_t count);

// A block at an address. A decoded block's data stays in the datagram.
struct MemoryBlock {
    std::uint32_t mAddress;
    const std::uint8_t* mData;
    std::size_t mSize;
};

// The host's side. The encoders return the datagram's size, or 0 when the
// count is not valid.
std::size_t EncodeReadMemCommand(std::uint16_t requestId, std::uint32_t address, std::size_t count,
                                 GvcpBuffer& out);
// The block as the camera sent it; the caller compares address and size
// with its request.
WireError DecodeReadMemAck(const GvcpAck& ack, MemoryBlock& block);
std::size_t EncodeWriteMemCommand(std::uint16_t requestId, const MemoryBlock& block, GvcpBuffer& out);
// index: the bytes written; on a failure, the index of the first refused.
WireError DecodeWriteMemAck(const GvcpAck& ack, std::uint16_t& index);

// The camera's side. BadCount for a count that is not valid.
WireError DecodeReadMemCommand(const GvcpCommand& command, std::uint32_t& address, std::size_t& count);
std::size_t EncodeReadMemAck(std::uint16_t ackId, const MemoryBlock& block, GvcpBuffer& out);
WireError DecodeWriteMemCommand(const GvcpCommand& command, MemoryBlock& block);
std::size_t EncodeWriteMemAck(std::uint16_t ackId, std::uint16_t index, GvcpBuffer& out);

}
