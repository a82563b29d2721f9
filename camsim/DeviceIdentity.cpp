#include "camsim/Setup.h"

namespace CamSim {

namespace {

constexpr std::uint32_t FirstSerial = 21810742;

}

DeviceIdentity IdentityOf(const DeviceSetup& setup, const CameraModel& model, std::uint32_t position)
{
    DeviceIdentity identity{setup.mName, setup.mSerial.value_or(FirstSerial + position)};
    if (identity.mName.empty())
        identity.mName = std::string(model.mVendor) + " " + model.mName + " (" + std::to_string(identity.mSerial) + ")";
    return identity;
}

}
