#include "camsim/Camera.h"

#include <algorithm>
#include <utility>

namespace CamSim {

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
