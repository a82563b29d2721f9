// Discovery: DISCOVERY broadcast out of each interface (twice, 50 ms
// apart, the broadcast ack allowed so a camera on another subnet can
// answer), on every interface at once, collecting answers until 200 ms
// pass without one or the time for it runs out.
//
// Linux delivers no broadcast to a socket bound to a unicast address, so
// there each interface listens on the wildcard address tied to its adapter;
// Windows binds to the interface's address, which hears the adapter's
// broadcasts too.
#pragma once

#include "common/HostInterface.h"
#include "wire/Discovery.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Gige {

struct DiscoveryTiming {
    std::uint32_t mTotalMs = 1000;
    std::uint32_t mQuietMs = 200;
    std::uint32_t mResendMs = 50;
};

struct InterfaceAnswers {
    std::vector<DeviceInfo> mAnswers;
    // Why the interface could not discover; empty when it could.
    std::string mError;
};

// result[i] for interfaces[i]. Raises std::system_error when no thread can
// be started (after joining those that were).
std::vector<InterfaceAnswers> Discover(const std::vector<HostInterface>& interfaces, const DiscoveryTiming& timing);

}
