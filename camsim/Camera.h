// One simulated GigE Vision camera as a model: its identity, its register
// memory, what writing to its command registers sets off, and when its
// frames fall due. The simulated producer (tli) serves it to a host
// in-process, the test camera (kavrix-gige-camera) over the network; both
// keep it behind a lock of their own.
#pragma once

#include "camsim/CameraModel.h"
#include "camsim/FramePattern.h"
#include "camsim/RegisterSpace.h"
#include "camsim/ServedDescription.h"
#include "TLI.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace CamSim {

class Camera {
public:
    Camera(const CameraModel& model, std::string name, std::uint32_t serial, std::uint32_t ipAddress,
           DescriptionForm form);

    const std::string& GetName() const { return mName; }
    const CameraModel& GetModel() const { return mModel; }
    std::uint32_t GetSerial() const { return mSerial; }
    std::uint32_t GetIpAddress() const { return mIpAddress; }
    // 02:4B:58 (a locally administered prefix, "KX") and the serial's low 24 bits.
    std::uint64_t GetMacAddress() const { return mMacAddress; }

    // Register access as a host sees it: access modes (and the firmware's
    // refusals) enforced, command registers act.
    GC_ERROR ReadMemory(std::uint64_t address, void* buffer, std::size_t size) const;
    GC_ERROR WriteMemory(std::uint64_t address, const void* buffer, std::size_t size);
    // Any mapped byte, no access checks, no action.
    RegisterSpace& Registers() { return mRegisters; }
    const RegisterSpace& Registers() const { return mRegisters; }
    // The control channel privilege register (0x0A00): 1 exclusive, 2 control.
    void SetPrivilege(std::uint32_t value);

    const std::string& GetUrl() const { return mUrl; }
    void SetDescriptionForm(DescriptionForm form);
    // Any URL at all, the memory behind it unchanged.
    void SetUrl(std::string url);

    // Set by AcquisitionStart, cleared by AcquisitionStop (and after the
    // frame of a single-frame acquisition).
    bool IsAcquiring() const { return mAcquiring; }
    // As when the host lets go of the camera: no acquisition, no trigger waiting.
    void StopAcquisition();
    // Acquiring without a trigger: frames come at the frame rate.
    bool IsFreeRunning() const;
    // Free-running with no frame rate at all: a frame as soon as the camera
    // can take one (for measuring a host's throughput).
    bool IsUnpaced() const { return mUnpaced; }
    void SetUnpaced(bool unpaced) { mUnpaced = unpaced; }
    std::chrono::nanoseconds FramePeriod() const;
    // A software trigger waiting for its frame, taken.
    bool TakeTrigger();
    FrameGeometry Geometry() const;
    // Numbers count from 1 at each AcquisitionStart.
    std::uint32_t NextFrameNumber(bool fromAcquisition);
    std::uint32_t GetFrameNumber() const { return mFrameNumber; }
    // The camera's clock, in ticks of its timestamp frequency (125 MHz).
    std::uint64_t TimestampTicks() const;

private:
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

    const CameraModel& mModel;
    std::string mName;
    std::uint32_t mSerial;
    std::uint32_t mIpAddress;
    std::uint64_t mMacAddress;
    RegisterSpace mRegisters;
    std::string mUrl;
    std::chrono::steady_clock::time_point mTimestampOrigin;
    bool mAcquiring = false;
    bool mUnpaced = false;
    std::uint32_t mPendingTriggers = 0;
    std::uint32_t mFrameNumber = 0;
};

}
