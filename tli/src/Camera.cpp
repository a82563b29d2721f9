#include "Camera.h"

#include "Names.h"

#include <algorithm>
#include <utility>

namespace Tli {

namespace {

// A locally administered MAC prefix ("KX") followed by the serial's low bits.
constexpr std::uint64_t MacPrefix = 0x024B58000000ull;

}

Camera::Camera(const CameraModel& model, std::string name, std::uint32_t serial, std::uint32_t ipAddress,
               DescriptionForm form)
    : mModel(model), mName(std::move(name)), mSerial(serial), mIpAddress(ipAddress),
      mMacAddress(MacPrefix | (serial & 0xFFFFFFu)), mRegisters(model.Layout()),
      mTimestampOrigin(std::chrono::steady_clock::now())
{
    PowerOn(ipAddress);
    SetDescriptionForm(form);
}

std::optional<std::string> Camera::GetInfo(std::int32_t command) const
{
    switch (command) {
    case DEVICE_INFO_ID:
        return std::string(mModel.mVendor) + "_" + mModel.mName + "_" + std::to_string(mSerial);
    case DEVICE_INFO_VENDOR:
        return std::string(mModel.mVendor);
    case DEVICE_INFO_MODEL:
        return std::string(mModel.mName);
    case DEVICE_INFO_TLTYPE:
        return std::string("GEV");
    case DEVICE_INFO_DISPLAYNAME:
        return mName;
    case DEVICE_INFO_SERIAL_NUMBER:
        return std::to_string(mSerial);
    case DEVICE_INFO_VERSION:
        return std::string(mModel.mVersion);
    case DEVICE_INFO_IP_ADDRESS:
        return FormatIpAddress(mIpAddress);
    case DEVICE_INFO_MAC_ADDRESS:
        return FormatMacAddress(mMacAddress);
    default:
        return std::nullopt;
    }
}

void Camera::SetDescriptionForm(DescriptionForm form)
{
    ServedDescription served = ServeDescription(mModel, form);
    mRegisters.MapBlock(DescriptionAddress, std::move(served.mMemory), Access::ReadOnly);
    SetUrl(std::move(served.mUrl));
}

void Camera::SetUrl(std::string url)
{
    mUrl = std::move(url);
    // The first URL register of the bootstrap block holds the same URL.
    std::vector<std::uint8_t> block(512, 0);
    std::copy(mUrl.begin(), mUrl.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(mUrl.size(), 511)),
              block.begin());
    mRegisters.MapBlock(0x0200, std::move(block), Access::ReadOnly);
}

}
