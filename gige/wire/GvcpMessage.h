// What the encoders and decoders of the control messages share: the header
// written once the body is in place, and the check of the message code.
#pragma once

#include "wire/GvcpHeader.h"

#include <cstddef>
#include <cstdint>

namespace Gige {

// The body of length bytes already follows the header in out; returns the
// datagram's size. Acks written this way report success.
std::size_t FinishCommand(std::uint8_t flags, GvcpCode command, std::uint16_t requestId, std::size_t length,
                          GvcpBuffer& out);
std::size_t FinishAck(GvcpCode ack, std::uint16_t ackId, std::size_t length, GvcpBuffer& out);

// UnexpectedMessage when the datagram carries another code; BadBodySize
// when its body is not length bytes long.
WireError CheckCommand(const GvcpCommand& command, GvcpCode code, std::size_t length);
WireError CheckAck(const GvcpAck& ack, GvcpCode code, std::size_t length);

// The WRITEREG and WRITEMEM acks: reserved16, index16.
std::size_t EncodeIndexAck(GvcpCode ack, std::uint16_t ackId, std::uint16_t index, GvcpBuffer& out);
WireError DecodeIndexAck(const GvcpAck& ack, GvcpCode code, std::uint16_t& index);

}
