// One simulated network interface (a GigE adapter) and the cameras on it.
#pragma once

#include "Camera.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Tli {

// The MTU of a network adapter as shipped.
constexpr std::uint32_t DefaultMtu = 1500;

class Interface {
public:
    Interface(std::string name, std::uint32_t hostAddress, std::uint32_t mtu)
        : mName(std::move(name)), mHostAddress(hostAddress), mMtu(mtu)
    {
    }

    const std::string& GetName() const { return mName; }
    std::uint32_t GetHostAddress() const { return mHostAddress; }
    // The largest packet the network carries.
    std::uint32_t GetMtu() const { return mMtu; }

    std::vector<std::shared_ptr<Camera>>& Cameras() { return mCameras; }
    const std::vector<std::shared_ptr<Camera>>& Cameras() const { return mCameras; }
    // The first camera of that name, or null.
    std::shared_ptr<Camera> FindCamera(const std::string& name) const;
    // The next free address for a camera on this interface's network.
    std::uint32_t NextCameraAddress() { return (mHostAddress & 0xFFFFFF00u) | (10u + (++mCamerasAdded % 240u)); }

    bool IsRemoved() const { return mRemoved; }
    void MarkRemoved();

private:
    std::string mName;
    std::uint32_t mHostAddress;
    std::uint32_t mMtu;
    std::uint32_t mCamerasAdded = 0;
    std::vector<std::shared_ptr<Camera>> mCameras;
    bool mRemoved = false;
};

}
