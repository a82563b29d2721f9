// The simulated camera models: identity, description, and the register nodes
// of the description the camera itself acts on.
#pragma once

#include "camsim/RegisterLayout.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace CamSim {

// Names of the register nodes (in the model's description) behind the
// features the camera acts on.
struct ModelRegisters {
    const char* mWidth;
    const char* mHeight;
    const char* mOffsetX;
    const char* mOffsetY;
    const char* mPixelFormat;
    const char* mAcquisitionMode;
    const char* mAcquisitionStart;
    const char* mAcquisitionStop;
    const char* mTriggerMode;
    const char* mTriggerSource;
    const char* mTriggerSoftware;
    const char* mFrameRate;        // frames per second, a floating-point register
    const char* mFrameRateAuto;    // not 0: as fast as the image height allows
    const char* mTLParamsLocked;
    const char* mFrameCounter;
};

struct CameraModel {
    const char* mName;      // as in the device information: "KX-1300-60gm"
    const char* mVendor;
    const char* mVersion;   // firmware version
    const char* mManufacturerInfo;
    const char* mFileName;  // the description's file name without extension
    std::uint32_t mSensorWidth;
    std::uint32_t mSensorHeight;
    std::uint32_t mLinesPerSecond;   // the sensor's read-out speed
    double mMaxFrameRate;
    ModelRegisters mRegisters;
    // Registers a write to is refused while TLParamsLocked is set.
    std::vector<const char*> mLockedRegisters;
    // Registers whose firmware refuses what the description allows, as a
    // description newer than the camera's firmware makes happen: reads of
    // the first, writes to the second answer GC_ERR_ACCESS_DENIED.
    std::vector<const char*> mUnreadableRegisters;
    std::vector<const char*> mUnwritableRegisters;
    // Register node values after power-on.
    std::vector<std::pair<const char*, double>> mPowerOn;

    // The description text and the layout read from it (made once).
    const std::string& Description() const;
    std::shared_ptr<const RegisterLayout> Layout() const;
    // Frames per second the sensor manages at that image height.
    double FastestFrameRate(std::int64_t height) const;
};

const std::vector<CameraModel>& CameraModels();
// Null when no model has that name.
const CameraModel* FindModel(const std::string& name);

}
