#include "control/AckFilter.h"

#include "wire/GvcpStatus.h"
#include "wire/PendingAck.h"

namespace Gige {

AckVerdict FilterAck(const std::uint8_t* data, std::size_t size, const ExpectedAck& expected, GvcpAck& ack,
                     std::uint16_t& pendingMs)
{
    if (DecodeAck(data, size, ack) != WireError::None || ack.mHeader.mAckId != expected.mRequestId)
        return AckVerdict::Ignore;
    if (ack.mHeader.mAck == GvcpCode::PendingAck)
        return DecodePendingAck(ack, pendingMs) == WireError::None ? AckVerdict::Pending : AckVerdict::Ignore;
    if (ack.mHeader.mAck != expected.mCode)
        return AckVerdict::Ignore;
    if (ack.mHeader.mStatus != GvcpStatus::Success)
        return AckVerdict::Answer;
    return ack.mHeader.mLength == expected.mLength ? AckVerdict::Answer : AckVerdict::Ignore;
}

}
