#include "transport/Device.h"

#include "transport/CameraError.h"
#include "transport/ProducerText.h"

namespace Kavrix {

Device::Device(std::shared_ptr<Interface> iface, int index) : mIndex(index), mInterface(std::move(iface)) {}

Device::~Device() = default;

std::string Device::GetName() const
{
    IF_HANDLE iface = mInterface->GetHandle();
    return ReadProducerText("Device::Open: Failed to get device name", [&](char* buffer, std::size_t* size) {
        return Api().TLGetDeviceName(iface, static_cast<std::uint32_t>(mIndex), buffer, size);
    });
}

DEV_HANDLE Device::GetHandle() const
{
    if (mHandle == nullptr) {
        throw CameraError("Device does not open");
    }
    return mHandle;
}

std::string Device::GetInfo(std::int32_t command) const
{
    return ReadProducerText("Device::GetInfo: Failed to get device info", [&](char* buffer, std::size_t* size) {
        return Api().DevGetInfo(GetHandle(), command, nullptr, buffer, size);
    });
}

}
