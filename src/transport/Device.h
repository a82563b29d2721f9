// One camera on an interface. Held by shared pointer by the camera made for it.
#pragma once

#include "transport/Interface.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Kavrix {

class Device {
public:
    Device(std::shared_ptr<Interface> iface, int index);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // The producer's name of this device; needs no open device.
    std::string GetName() const;
    DEV_HANDLE GetHandle() const;
    std::string GetInfo(std::int32_t command) const;
    int GetIndex() const { return mIndex; }

private:
    const ProducerApi& Api() const { return mInterface->GetLibrary().Api(); }

    int mIndex;
    std::shared_ptr<Interface> mInterface;
    DEV_HANDLE mHandle = nullptr;
};

}
