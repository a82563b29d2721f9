// DevGetInfo's answers, from what the camera said in discovery.
#pragma once

#include "discovery/DiscoveredCamera.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Gige {

// The text for a DEVICE_INFO_* command of TLI.h; nullopt for another.
std::optional<std::string> DeviceInfoText(const DiscoveredCamera& camera, std::int32_t command);

}
