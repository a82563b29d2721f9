#include "wire/ForceIp.h"

#include "wire/BigEndian.h"
#include "wire/GvcpMessage.h"

#include <algorithm>
#include <cstring>

namespace Gige {

namespace {

// Offsets in the body; the bytes between them are reserved.
constexpr std::size_t MacAt = 2;
constexpr std::size_t IpAt = 20;
constexpr std::size_t SubnetMaskAt = 36;
constexpr std::size_t GatewayAt = 52;

}

std::size_t EncodeForceIpCommand(std::uint16_t requestId, const ForceIp& force, bool allowBroadcastAck,
                                 GvcpBuffer& out)
{
    std::uint8_t* body = &out[GvcpHeaderSize];
    std::memset(body, 0, ForceIpLength);
    std::copy(force.mMac.begin(), force.mMac.end(), body + MacAt);
    Put32(body + IpAt, force.mIp);
    Put32(body + SubnetMaskAt, force.mSubnetMask);
    Put32(body + GatewayAt, force.mGateway);
    const std::uint8_t flags = CommandFlag::AckRequired | (allowBroadcastAck ? CommandFlag::AllowBroadcastAck : 0);
    return FinishCommand(flags, GvcpCode::ForceIpCmd, requestId, ForceIpLength, out);
}

WireError DecodeForceIpCommand(const GvcpCommand& command, ForceIp& force)
{
    const WireError error = CheckCommand(command, GvcpCode::ForceIpCmd, ForceIpLength);
    if (error != WireError::None)
        return error;
    const std::uint8_t* body = command.mBody;
    std::copy_n(body + MacAt, force.mMac.size(), force.mMac.begin());
    force.mIp = Get32(body + IpAt);
    force.mSubnetMask = Get32(body + SubnetMaskAt);
    force.mGateway = Get32(body + GatewayAt);
    return WireError::None;
}

}
