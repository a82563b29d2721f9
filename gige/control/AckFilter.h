// Which datagram answers a control request. Anything else that reaches the
// control socket (an ack to an earlier request, another code, a body of the
// wrong size, bytes that are no ack) is ignored, so a late or foreign
// datagram can never stand in for the answer.
#pragma once

#include "wire/GvcpHeader.h"

#include <cstddef>
#include <cstdint>

namespace Gige {

struct ExpectedAck {
    GvcpCode mCode;
    std::uint16_t mRequestId;
    // The body of a successful ack; an error ack may carry any.
    std::size_t mLength;
};

enum class AckVerdict {
    Ignore,
    // The camera needs more time: wait pendingMs before trying again.
    Pending,
    // The answer: successful, or an error status.
    Answer
};

AckVerdict FilterAck(const std::uint8_t* data, std::size_t size, const ExpectedAck& expected, GvcpAck& ack,
                     std::uint16_t& pendingMs);

}
