// One simulated GigE Vision camera: its identity and whether a driver holds
// it open.
#pragma once

#include "CameraModel.h"
#include "TLI.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Tli {

class Camera {
public:
    Camera(const CameraModel& model, std::string name, std::uint32_t serial, std::uint32_t ipAddress);

    const std::string& GetName() const { return mName; }
    const CameraModel& GetModel() const { return mModel; }
    // The text DevGetInfo answers for a command; none for an unknown command.
    std::optional<std::string> GetInfo(std::int32_t command) const;

    // A camera taken off the network answers nothing any more.
    bool IsRemoved() const { return mRemoved; }
    void MarkRemoved() { mRemoved = true; }

    // The handle that holds the camera open, null when none does.
    DEV_HANDLE GetOpenHandle() const { return mOpenHandle; }
    void SetOpenHandle(DEV_HANDLE handle) { mOpenHandle = handle; }

private:
    const CameraModel& mModel;
    std::string mName;
    std::uint32_t mSerial;
    std::uint32_t mIpAddress;
    std::uint64_t mMacAddress;
    bool mRemoved = false;
    DEV_HANDLE mOpenHandle = nullptr;
};

}
