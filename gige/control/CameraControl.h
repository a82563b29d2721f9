// An open camera's control side: its channel, the privilege taken at open
// and given back at close, the heartbeat that keeps it, and what the stream
// receiver needs of the device (StreamHost).
#pragma once

#include "common/HostInterface.h"
#include "common/Settings.h"
#include "common/Status.h"
#include "control/CameraMemory.h"
#include "control/ControlChannel.h"
#include "control/Heartbeat.h"
#include "stream/StreamHost.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace Gige {

class CameraControl : public StreamHost {
public:
    // cameraText names the camera in messages: "Aravis Fake (GV01) (169.254.100.1)".
    CameraControl(const HostInterface& iface, Os::Ipv4Address camera, std::string cameraText,
                  const Settings& settings);
    // Close.
    ~CameraControl() override;
    CameraControl(const CameraControl&) = delete;
    CameraControl& operator=(const CameraControl&) = delete;

    // Opens the channel and takes the privilege for the access (TLI.h
    // DEVICE_ACCESS_*): exclusive or control, after reading the privilege
    // register, refusing a camera another controller holds; read-only takes
    // none and runs no heartbeat. onLost runs on the heartbeat's thread when
    // the camera is lost.
    Status Open(std::int32_t access, std::function<void()> onLost);
    // Stops the heartbeat, gives the privilege back, closes the channel.
    void Close() noexcept;

    Status ReadMemory(std::uint64_t address, void* buffer, std::size_t size);
    Status WriteMemory(std::uint64_t address, const void* buffer, std::size_t size);
    // The description URL of the first (1) or second (2) URL register.
    Status ReadUrl(std::int32_t index, std::string& url);
    const std::string& CameraText() const { return mChannel.CameraText(); }

    // StreamHost
    GC_ERROR ReadRegister(std::uint32_t address, std::uint32_t& value) override;
    GC_ERROR WriteRegister(std::uint32_t address, std::uint32_t value) override;
    Os::Ipv4Address HostAddress() const override { return mInterface.mAddress; }
    // The adapter, as the system names it: what a packet ring opens.
    const std::string& InterfaceName() const override { return mInterface.mAdapter; }
    unsigned InterfaceIndex() const override { return mInterface.mIndex; }
    unsigned InterfaceMtu() const override { return mInterface.mMtu; }
    Os::Ipv4Address CameraAddress() const override { return mCamera; }
    bool IsLost() const override { return mChannel.IsLost(); }

private:
    Status TakePrivilege(std::uint32_t privilege);
    bool Probe();

    const HostInterface mInterface;
    const Os::Ipv4Address mCamera;
    ControlChannel mChannel;
    CameraMemory mMemory;
    bool mReadOnly = false;
    bool mHoldsPrivilege = false;
    std::function<void()> mOnLost;
    std::unique_ptr<Heartbeat> mHeartbeat;
};

}
