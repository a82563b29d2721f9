// One simulated GigE Vision camera: its identity, its register memory and
// what writing to its command registers sets off.
#pragma once

#include "CameraModel.h"
#include "FramePattern.h"
#include "RegisterSpace.h"
#include "ServedDescription.h"
#include "TLI.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace Tli {

class Stream;

class Camera {
public:
    Camera(const CameraModel& model, std::string name, std::uint32_t serial, std::uint32_t ipAddress,
           DescriptionForm form);

    const std::string& GetName() const { return mName; }
    const CameraModel& GetModel() const { return mModel; }
    // The text DevGetInfo answers for a command; none for an unknown command.
    std::optional<std::string> GetInfo(std::int32_t command) const;

    // A camera taken off the network answers nothing any more.
    bool IsRemoved() const { return mRemoved; }
    void MarkRemoved();

    // The handle that holds the camera open, null when none does.
    DEV_HANDLE GetOpenHandle() const { return mOpenHandle; }
    // Taking the camera sets the control channel privilege as the access
    // asks (or as a test chose); releasing it clears the privilege.
    void Open(DEV_HANDLE handle, std::int32_t access);
    void Close();
    void SetPrivilegeOnOpen(std::optional<std::uint32_t> value) { mPrivilegeOnOpen = value; }
    // How many of the asked bytes one register read or write moves (0: all of them).
    void SetTransferLimits(std::size_t read, std::size_t write)
    {
        mReadLimit = read;
        mWriteLimit = write;
    }
    std::size_t ReadSize(std::size_t asked) const { return Limited(asked, mReadLimit); }
    std::size_t WriteSize(std::size_t asked) const { return Limited(asked, mWriteLimit); }

    // Register access as the host sees it: GC_ERR_TIMEOUT once removed,
    // access modes (and the firmware's refusals) enforced, command registers
    // act.
    GC_ERROR ReadMemory(std::uint64_t address, void* buffer, std::size_t size) const;
    GC_ERROR WriteMemory(std::uint64_t address, const void* buffer, std::size_t size);
    // Register access for tests: any mapped byte, no access checks, no action.
    RegisterSpace& Registers() { return mRegisters; }

    const std::string& GetUrl() const { return mUrl; }
    void SetDescriptionForm(DescriptionForm form);
    // Any URL at all, the memory behind it unchanged.
    void SetUrl(std::string url);

    // Set by AcquisitionStart, cleared by AcquisitionStop (and after the
    // frame of a single-frame acquisition).
    bool IsAcquiring() const { return mAcquiring; }

    // The stream of the open camera, told when acquisition settings change.
    Stream* GetStream() const { return mStream; }
    void SetStream(Stream* stream) { mStream = stream; }
    // Acquiring without a trigger: frames come at the frame rate.
    bool IsFreeRunning() const;
    // Free-running with no frame rate at all: a frame whenever a buffer is
    // queued (for measuring a host's throughput).
    bool IsUnpaced() const { return mUnpaced; }
    void SetUnpaced(bool unpaced);
    std::chrono::nanoseconds FramePeriod() const;
    // A software trigger waiting for its frame, taken.
    bool TakeTrigger();
    FrameGeometry Geometry() const;
    // Numbers count from 1 at each AcquisitionStart.
    std::uint32_t NextFrameNumber(bool fromAcquisition);
    std::uint32_t GetFrameNumber() const { return mFrameNumber; }
    void CountDelivered() { ++mDelivered; }
    void CountLost() { ++mLost; }
    std::uint64_t GetDelivered() const { return mDelivered; }
    std::uint64_t GetLost() const { return mLost; }

private:
    static std::size_t Limited(std::size_t asked, std::size_t limit) { return limit != 0 && asked > limit ? limit : asked; }
    void PowerOn(std::uint32_t ipAddress);
    bool IsStreamLocked() const;
    bool IsLocked(std::uint64_t address, std::size_t size) const;
    bool TouchesAny(const std::vector<const char*>& registers, std::uint64_t address, std::size_t size) const;
    bool ImageFitsSensor() const;
    void AfterWrite(std::uint64_t address, std::size_t size);
    // Executes the command when the write touched its register.
    bool Executed(const char* reg, std::uint64_t address, std::size_t size);
    void SoftwareTrigger();
    void KeepImageOnSensor(const char* offset, const char* extent, std::uint32_t sensorExtent);
    std::uint64_t TimestampTicks() const;

    const CameraModel& mModel;
    std::string mName;
    std::uint32_t mSerial;
    std::uint32_t mIpAddress;
    std::uint64_t mMacAddress;
    RegisterSpace mRegisters;
    std::string mUrl;
    std::optional<std::uint32_t> mPrivilegeOnOpen;
    std::size_t mReadLimit = 0;
    std::size_t mWriteLimit = 0;
    std::chrono::steady_clock::time_point mTimestampOrigin;
    bool mRemoved = false;
    bool mAcquiring = false;
    bool mUnpaced = false;
    DEV_HANDLE mOpenHandle = nullptr;
    Stream* mStream = nullptr;
    std::uint32_t mPendingTriggers = 0;
    std::uint32_t mFrameNumber = 0;
    std::uint64_t mDelivered = 0;
    std::uint64_t mLost = 0;
};

}
