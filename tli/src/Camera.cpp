#include "Camera.h"

#include "Stream.h"
#include "camsim/Names.h"

namespace Tli {

std::optional<std::string> Camera::GetInfo(std::int32_t command) const
{
    const CamSim::CameraModel& model = GetModel();
    switch (command) {
    case DEVICE_INFO_ID:
        return std::string(model.mVendor) + "_" + model.mName + "_" + std::to_string(GetSerial());
    case DEVICE_INFO_VENDOR:
        return std::string(model.mVendor);
    case DEVICE_INFO_MODEL:
        return std::string(model.mName);
    case DEVICE_INFO_TLTYPE:
        return std::string("GEV");
    case DEVICE_INFO_DISPLAYNAME:
        return GetName();
    case DEVICE_INFO_SERIAL_NUMBER:
        return std::to_string(GetSerial());
    case DEVICE_INFO_VERSION:
        return std::string(model.mVersion);
    case DEVICE_INFO_IP_ADDRESS:
        return CamSim::FormatIpAddress(GetIpAddress());
    case DEVICE_INFO_MAC_ADDRESS:
        return CamSim::FormatMacAddress(GetMacAddress());
    default:
        return std::nullopt;
    }
}

void Camera::MarkRemoved()
{
    mRemoved = true;
    StopAcquisition();
    WakeStream();
}

void Camera::Open(DEV_HANDLE handle, std::int32_t access)
{
    mOpenHandle = handle;
    std::uint32_t privilege = 0;
    if (mPrivilegeOnOpen)
        privilege = *mPrivilegeOnOpen;
    else if (access == DEVICE_ACCESS_EXCLUSIVE)
        privilege = 1;
    else if (access == DEVICE_ACCESS_CONTROL)
        privilege = 2;
    SetPrivilege(privilege);
}

void Camera::Close()
{
    mOpenHandle = nullptr;
    StopAcquisition();
    SetPrivilege(0);
}

void Camera::WakeStream()
{
    if (mStream != nullptr)
        mStream->Wake();
}

}
