// FORCEIP: gives the camera with this MAC a new address, so a camera on
// another subnet can be reached. Its ack has no body (EncodeAckHeader).
#pragma once

#include "wire/Discovery.h"
#include "wire/GvcpHeader.h"

#include <cstddef>
#include <cstdint>

namespace Gige {

constexpr std::size_t ForceIpLength = 56;

struct ForceIp {
    MacAddress mMac;
    std::uint32_t mIp;
    std::uint32_t mSubnetMask;
    std::uint32_t mGateway;
};

std::size_t EncodeForceIpCommand(std::uint16_t requestId, const ForceIp& force, bool allowBroadcastAck,
                                 GvcpBuffer& out);
WireError DecodeForceIpCommand(const GvcpCommand& command, ForceIp& force);

}
