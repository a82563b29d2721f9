// The camera models the producer simulates: what a camera of a model tells
// about itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Tli {

struct CameraModel {
    const char* mName;      // as in the device information: "KX-1300-60gm"
    const char* mVendor;
    const char* mVersion;   // firmware version
    std::uint32_t mSensorWidth;
    std::uint32_t mSensorHeight;
};

const std::vector<CameraModel>& CameraModels();
// Null when no model has that name.
const CameraModel* FindModel(const std::string& name);

}
