// A device of the simulated producer, reached the way the camera list
// reaches it: library, interface, device by index.
#pragma once

#include "support/TestSupport.h"
#include "transport/Device.h"

#include <memory>
#include <string>

namespace TestSupport {

class DeviceOnProducer {
public:
    // The device at index on the first interface.
    explicit DeviceOnProducer(int index = 0);
    ~DeviceOnProducer();
    DeviceOnProducer(const DeviceOnProducer&) = delete;
    DeviceOnProducer& operator=(const DeviceOnProducer&) = delete;

    Kavrix::Device& operator*() { return *mDevice; }
    Kavrix::Device* operator->() { return mDevice.get(); }
    const std::string& Name() const { return mName; }

private:
    Kavrix::Library mLibrary;
    std::shared_ptr<Kavrix::Interface> mInterface;
    std::unique_ptr<Kavrix::Device> mDevice;
    std::string mName;
};

}
