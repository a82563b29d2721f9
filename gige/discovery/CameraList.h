// The cameras each interface lists after a discovery, from the answers that
// came in: each camera once (by MAC and IP address, its last answer), named
// uniquely across all interfaces, ordered by address, and marked
// unreachable when its address is outside the interface's subnet or
// answered by more than one camera.
#pragma once

#include "common/HostInterface.h"
#include "discovery/DiscoveredCamera.h"
#include "wire/Discovery.h"

#include <vector>

namespace Gige {

// answers[i] came in on interfaces[i]; the result's lists likewise.
std::vector<std::vector<DiscoveredCamera>> ListCameras(const std::vector<HostInterface>& interfaces,
                                                       const std::vector<std::vector<DeviceInfo>>& answers);

}
