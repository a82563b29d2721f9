// How the camera sends frames: free-running at its frame rate, on software
// triggers, one frame or continuously.
#include "camsim/Camera.h"

#include <algorithm>
#include <cmath>

namespace CamSim {

namespace {

// Entry values both models' descriptions give these features.
constexpr std::int64_t SingleFrame = 3;
constexpr std::int64_t TriggerOn = 1;
constexpr std::int64_t SoftwareSource = 7;

std::uint32_t Clamp(std::int64_t value, std::uint32_t low, std::uint32_t high)
{
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(value, low, high));
}

}

void Camera::StopAcquisition()
{
    mAcquiring = false;
    mPendingTriggers = 0;
}

bool Camera::IsFreeRunning() const
{
    return mAcquiring && mRegisters.GetInteger(mModel.mRegisters.mTriggerMode) != TriggerOn;
}

void Camera::SoftwareTrigger()
{
    const ModelRegisters& regs = mModel.mRegisters;
    if (mAcquiring && mRegisters.GetInteger(regs.mTriggerMode) == TriggerOn &&
        mRegisters.GetInteger(regs.mTriggerSource) == SoftwareSource)
        ++mPendingTriggers;
}

bool Camera::TakeTrigger()
{
    if (mPendingTriggers == 0 || !mAcquiring)
        return false;
    --mPendingTriggers;
    return true;
}

std::chrono::nanoseconds Camera::FramePeriod() const
{
    const ModelRegisters& regs = mModel.mRegisters;
    const double fastest = mModel.FastestFrameRate(Geometry().mHeight);
    double rate = fastest;
    if (mRegisters.GetInteger(regs.mFrameRateAuto) == 0) {
        const double set = mRegisters.GetFloat(regs.mFrameRate);
        // The sensor cannot go faster than its read-out; nonsense written
        // past the description's limits falls back to that speed.
        if (std::isfinite(set) && set > 0)
            rate = std::min(set, fastest);
    }
    return std::chrono::nanoseconds(static_cast<std::int64_t>(1e9 / rate));
}

FrameGeometry Camera::Geometry() const
{
    const ModelRegisters& regs = mModel.mRegisters;
    FrameGeometry geometry{};
    geometry.mWidth = Clamp(mRegisters.GetInteger(regs.mWidth), 1, mModel.mSensorWidth);
    geometry.mHeight = Clamp(mRegisters.GetInteger(regs.mHeight), 1, mModel.mSensorHeight);
    geometry.mOffsetX = Clamp(mRegisters.GetInteger(regs.mOffsetX), 0, mModel.mSensorWidth);
    geometry.mOffsetY = Clamp(mRegisters.GetInteger(regs.mOffsetY), 0, mModel.mSensorHeight);
    geometry.mPixelFormat = static_cast<std::uint32_t>(mRegisters.GetInteger(regs.mPixelFormat));
    // Bits 16 to 23 of a GigE Vision pixel format give the bits per pixel.
    geometry.mBitsPerPixel = Clamp((geometry.mPixelFormat >> 16) & 0xFF, 8, 64);
    return geometry;
}

std::uint32_t Camera::NextFrameNumber(bool fromAcquisition)
{
    const char* counter = mModel.mRegisters.mFrameCounter;
    mRegisters.SetInteger(counter, mRegisters.GetInteger(counter) + 1);
    if (fromAcquisition && mRegisters.GetInteger(mModel.mRegisters.mAcquisitionMode) == SingleFrame)
        mAcquiring = false;
    return ++mFrameNumber;
}

}
