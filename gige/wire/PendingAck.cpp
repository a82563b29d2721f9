#include "wire/PendingAck.h"

#include "wire/BigEndian.h"
#include "wire/GvcpMessage.h"

namespace Gige {

std::size_t EncodePendingAck(std::uint16_t ackId, std::uint16_t timeToCompletionMs, GvcpBuffer& out)
{
    Put16(&out[GvcpHeaderSize], 0);
    Put16(&out[GvcpHeaderSize + 2], timeToCompletionMs);
    return FinishAck(GvcpCode::PendingAck, ackId, PendingAckLength, out);
}

WireError DecodePendingAck(const GvcpAck& ack, std::uint16_t& timeToCompletionMs)
{
    const WireError error = CheckAck(ack, GvcpCode::PendingAck, PendingAckLength);
    if (error == WireError::None)
        timeToCompletionMs = Get16(ack.mBody + 2);
    return error;
}

}
