// A camera as discovery found it on one interface.
#pragma once

#include "os/Ipv4Address.h"
#include "wire/Discovery.h"

#include <string>

namespace Gige {

struct DiscoveredCamera {
    // As the camera sent it (its bootstrap registers 0x0000-0x00F7).
    DeviceInfo mInfo;
    // Unique among the cameras of one discovery (CameraNames.h).
    std::string mName;
    // Why the camera cannot be opened from this interface; empty when it can.
    std::string mUnreachable;

    Os::Ipv4Address Address() const { return Os::Ipv4Address(mInfo.mIp); }
};

}
