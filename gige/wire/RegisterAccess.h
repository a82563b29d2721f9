// READREG and WRITEREG: whole 32-bit registers, several in one datagram.
// Every ack decoder here reads the body of a successful ack; the caller
// looks at the status first.
#pragma once

#include "wire/GvcpHeader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Gige {

// As many as one datagram holds: 4 bytes per address, 8 per write.
constexpr std::size_t MaxReadRegCount = (GvcpMaxDatagram - GvcpHeaderSize) / 4;
constexpr std::size_t MaxWriteRegCount = (GvcpMaxDatagram - GvcpHeaderSize) / 8;

struct RegisterWrite {
    std::uint32_t mAddress;
    std::uint32_t mValue;
};

// The host's side. The encoders return the datagram's size, or 0 for a
// count of 0 or above the maximum.
std::size_t EncodeReadRegCommand(std::uint16_t requestId, const std::uint32_t* addresses, std::size_t count,
                                 GvcpBuffer& out);
// The ack must carry exactly count values.
WireError DecodeReadRegAck(const GvcpAck& ack, std::uint32_t* values, std::size_t count);
std::size_t EncodeWriteRegCommand(std::uint16_t requestId, const RegisterWrite* writes, std::size_t count,
                                  GvcpBuffer& out);
// index: the registers written; on a failure, the index of the one refused.
WireError DecodeWriteRegAck(const GvcpAck& ack, std::uint16_t& index);

// The camera's side.
WireError DecodeReadRegCommand(const GvcpCommand& command, std::vector<std::uint32_t>& addresses);
std::size_t EncodeReadRegAck(std::uint16_t ackId, const std::uint32_t* values, std::size_t count, GvcpBuffer& out);
WireError DecodeWriteRegCommand(const GvcpCommand& command, std::vector<RegisterWrite>& writes);
std::size_t EncodeWriteRegAck(std::uint16_t ackId, std::uint16_t index, GvcpBuffer& out);

}
