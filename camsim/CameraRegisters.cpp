// What the camera's registers hold and do.
#include "camsim/Camera.h"

namespace CamSim {

namespace {

constexpr const char* PrivilegeRegister = "ControlChannelPrivilegeReg";
constexpr const char* TimestampControl = "GevTimestampControlReg";
constexpr std::int64_t TimestampReset = 1;
constexpr std::int64_t TimestampLatch = 2;
// Bytes a GigE Vision user-defined name register holds, its zero included.
constexpr std::size_t UserNameLength = 16;

}

void Camera::PowerOn(std::uint32_t ipAddress)
{
    for (const auto& [reg, value] : mModel.mPowerOn) {
        if (mModel.Layout()->FindField(reg)->mKind == RegisterField::Kind::Float)
            mRegisters.SetFloat(reg, value);
        else
            mRegisters.SetInteger(reg, static_cast<std::int64_t>(value));
    }
    mRegisters.SetText("DeviceVendorName", mModel.mVendor);
    mRegisters.SetText("DeviceModelName", mModel.mName);
    mRegisters.SetText("DeviceVersion", mModel.mVersion);
    mRegisters.SetText("DeviceManufacturerInfo", mModel.mManufacturerInfo);
    mRegisters.SetText("DeviceID", std::to_string(mSerial));
    mRegisters.SetText("DeviceUserID", mName.substr(0, UserNameLength - 1));
    mRegisters.SetInteger("GevMACAddressHigh", static_cast<std::int64_t>(mMacAddress >> 32));
    mRegisters.SetInteger("GevMACAddressLow", static_cast<std::int64_t>(mMacAddress & 0xFFFFFFFFu));
    mRegisters.SetInteger("GevCurrentIPAddress", ipAddress);
    mRegisters.MapBlock(0x0400, std::vector<std::uint8_t>(512, 0), Access::ReadOnly);
}

void Camera::SetPrivilege(std::uint32_t value)
{
    mRegisters.SetInteger(PrivilegeRegister, value);
}

GC_ERROR Camera::ReadMemory(std::uint64_t address, void* buffer, std::size_t size) const
{
    if (mRegisters.IsMapped(address, size) && TouchesAny(mModel.mUnreadableRegisters, address, size))
        return GC_ERR_ACCESS_DENIED;
    return mRegisters.Read(address, buffer, size, true);
}

GC_ERROR Camera::WriteMemory(std::uint64_t address, const void* buffer, std::size_t size)
{
    if (!mRegisters.IsMapped(address, size))
        return GC_ERR_INVALID_ADDRESS;
    if (IsLocked(address, size) || TouchesAny(mModel.mUnwritableRegisters, address, size))
        return GC_ERR_ACCESS_DENIED;
    std::vector<std::uint8_t> before(size);
    mRegisters.Read(address, before.data(), size, false);
    const bool fitted = ImageFitsSensor();
    const GC_ERROR result = mRegisters.Write(address, buffer, size, true);
    if (result != GC_ERR_SUCCESS)
        return result;
    if (fitted && !ImageFitsSensor() && IsStreamLocked()) {
        // The image may not shrink while it is locked: refuse the offset.
        mRegisters.Write(address, before.data(), size, false);
        return GC_ERR_ACCESS_DENIED;
    }
    AfterWrite(address, size);
    return GC_ERR_SUCCESS;
}

bool Camera::IsStreamLocked() const
{
    return mRegisters.GetInteger(mModel.mRegisters.mTLParamsLocked) != 0;
}

bool Camera::ImageFitsSensor() const
{
    const ModelRegisters& regs = mModel.mRegisters;
    return mRegisters.GetInteger(regs.mOffsetX) + mRegisters.GetInteger(regs.mWidth) <= mModel.mSensorWidth &&
           mRegisters.GetInteger(regs.mOffsetY) + mRegisters.GetInteger(regs.mHeight) <= mModel.mSensorHeight;
}

// While a host streams, the image geometry cannot change.
bool Camera::IsLocked(std::uint64_t address, std::size_t size) const
{
    return IsStreamLocked() && TouchesAny(mModel.mLockedRegisters, address, size);
}

bool Camera::TouchesAny(const std::vector<const char*>& registers, std::uint64_t address, std::size_t size) const
{
    for (const char* reg : registers)
        if (mRegisters.Touches(reg, address, size))
            return true;
    return false;
}

void Camera::AfterWrite(std::uint64_t address, std::size_t size)
{
    const ModelRegisters& regs = mModel.mRegisters;
    if (mRegisters.Touches(regs.mOffsetX, address, size))
        KeepImageOnSensor(regs.mOffsetX, regs.mWidth, mModel.mSensorWidth);
    if (mRegisters.Touches(regs.mOffsetY, address, size))
        KeepImageOnSensor(regs.mOffsetY, regs.mHeight, mModel.mSensorHeight);
    if (Executed(regs.mAcquisitionStart, address, size)) {
        mAcquiring = true;
        mFrameNumber = 0;
        mPendingTriggers = 0;
    }
    if (Executed(regs.mAcquisitionStop, address, size)) {
        mAcquiring = false;
        mPendingTriggers = 0;
    }
    if (Executed(regs.mTriggerSoftware, address, size))
        SoftwareTrigger();
    if (mRegisters.Touches(TimestampControl, address, size)) {
        const std::int64_t control = mRegisters.GetInteger(TimestampControl);
        if (control & TimestampReset)
            mTimestampOrigin = std::chrono::steady_clock::now();
        if (control & TimestampLatch) {
            const std::uint64_t ticks = TimestampTicks();
            mRegisters.SetInteger("GevTimestampValueHigh", static_cast<std::int64_t>(ticks >> 32));
            mRegisters.SetInteger("GevTimestampValueLow", static_cast<std::int64_t>(ticks & 0xFFFFFFFFu));
        }
        mRegisters.SetInteger(TimestampControl, 0);
    }
}

// Command registers clear themselves once the command has run.
bool Camera::Executed(const char* reg, std::uint64_t address, std::size_t size)
{
    if (!mRegisters.Touches(reg, address, size) || mRegisters.GetInteger(reg) == 0)
        return false;
    mRegisters.SetInteger(reg, 0);
    return true;
}

// An offset that would push the image off the sensor shrinks the image, so
// a host can write the offset before the size.
void Camera::KeepImageOnSensor(const char* offset, const char* extent, std::uint32_t sensorExtent)
{
    const std::int64_t start = mRegisters.GetInteger(offset);
    const std::int64_t room = static_cast<std::int64_t>(sensorExtent) - start;
    if (room > 0 && mRegisters.GetInteger(extent) > room)
        mRegisters.SetInteger(extent, room);
}

std::uint64_t Camera::TimestampTicks() const
{
    // The tick frequency register says 125 MHz: one tick every 8 ns.
    const auto elapsed = std::chrono::steady_clock::now() - mTimestampOrigin;
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count() / 8);
}

}
