#include "transport/Device.h"

#include "diag/DriverContext.h"
#include "transport/CameraError.h"
#include "transport/ProducerText.h"

namespace Kavrix {

Device::Device(std::shared_ptr<Interface> iface, int index)
    : mInterface(std::move(iface)), mIndex(index), mName(ReadName())
{
}

Device::~Device()
{
    if (mHandle == nullptr) {
        return;
    }
    try {
        Close();
    } catch (const std::exception& e) {
        Log(1, "Device::~Device: ERROR: %s\n", e.what());
    }
}

std::string Device::ReadName() const
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

GenApi::IEnumeration& Device::GetEnumerationNode(const char* name)
{
    auto* node = dynamic_cast<GenApi::IEnumeration*>(mNodeMap._GetNode(name));
    if (node == nullptr) {
        throw CameraError(std::string("Wrong node ") + name + " type");
    }
    return *node;
}

GenApi::IInteger& Device::GetIntegerNode(const char* name)
{
    auto* node = dynamic_cast<GenApi::IInteger*>(mNodeMap._GetNode(name));
    if (node == nullptr) {
        throw CameraError(std::string("Wrong node ") + name + " type");
    }
    return *node;
}

GenApi::IInteger* Device::GetTLParamsLocked()
{
    return dynamic_cast<GenApi::IInteger*>(mNodeMap._GetNode("TLParamsLocked"));
}

std::int64_t Device::GetPayloadSize()
{
    auto* payload = dynamic_cast<GenApi::IInteger*>(mNodeMap._GetNode("PayloadSize"));
    if (payload == nullptr || !GenApi::IsReadable(payload->GetAccessMode())) {
        return 0;
    }
    return payload->GetValue();
}

void Device::SetAcquisitionMode(const char* entry, std::int64_t fallback)
{
    GenApi::IEnumeration& mode = GetEnumerationNode("AcquisitionMode");
    // Entry values differ between cameras: 3 is SingleFrame on many, MultiFrame on others.
    GenApi::IEnumEntry* named = mode.GetEntryByName(entry);
    mode.SetIntValue(named != nullptr ? named->GetValue() : fallback);
}

}
