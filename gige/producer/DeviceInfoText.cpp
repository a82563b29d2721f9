#include "producer/DeviceInfoText.h"

#include "common/Texts.h"
#include "discovery/CameraNames.h"

#include "TLI.h"

namespace Gige {

std::optional<std::string> DeviceInfoText(const DiscoveredCamera& camera, std::int32_t command)
{
    const DeviceInfo& info = camera.mInfo;
    switch (command) {
    case DEVICE_INFO_ID:
        // The one thing about a camera that never changes.
        return FormatMac(info.mMac);
    case DEVICE_INFO_VENDOR:
        return CleanField(info.mManufacturer);
    case DEVICE_INFO_MODEL:
        return CleanField(info.mModel);
    case DEVICE_INFO_TLTYPE:
        return std::string("GEV");
    case DEVICE_INFO_DISPLAYNAME:
        return camera.mName;
    case DEVICE_INFO_SERIAL_NUMBER:
        return CleanField(info.mSerial);
    case DEVICE_INFO_VERSION:
        return CleanField(info.mDeviceVersion);
    case DEVICE_INFO_IP_ADDRESS:
        return FormatIp(info.mIp);
    case DEVICE_INFO_MAC_ADDRESS:
        return FormatMac(info.mMac);
    default:
        return std::nullopt;
    }
}

}
