// PENDING_ACK: the camera needs longer for a request; the host keeps
// waiting for the real ack instead of sending the request again.
#pragma once

#include "wire/GvcpHeader.h"

#include <cstddef>
#include <cstdint>

namespace Gige {

constexpr std::size_t PendingAckLength = 4;

std::size_t EncodePendingAck(std::uint16_t ackId, std::uint16_t timeToCompletionMs, GvcpBuffer& out);
WireError DecodePendingAck(const GvcpAck& ack, std::uint16_t& timeToCompletionMs);

}
