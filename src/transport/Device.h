// One camera on an interface: the producer's device, the camera's control,
// its description in a node map and the register port under it. Held by
// shared pointer by the camera made for it.
#pragma once

#include "transport/CameraPort.h"
#include "transport/Interface.h"

#include <GenApi/GenApi.h>

#include <cstdint>
#include <memory>
#include <string>

namespace Kavrix {

class Device {
public:
    Device(std::shared_ptr<Interface> iface, int index);
    // Closes the device when it is still open; failures are logged.
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // The producer's name of this device; needs no open device.
    std::string GetName() const;
    DEV_HANDLE GetHandle() const;
    std::string GetInfo(std::int32_t command) const;
    int GetIndex() const { return mIndex; }
    bool IsOpen() const { return mHandle != nullptr; }

    // Opens the device, takes control of the camera and loads its description.
    void Open();
    void Close();
    void GetControlPrivilege();

    // The description text, unpacked.
    std::string GetXml();
    // Loads the description once and connects the register port (every time).
    void LoadXml();

    GenApi::CNodeMapRef& GetNodeMap() { return mNodeMap; }
    // Typed node lookups; "Wrong node <name> type" when missing or of another kind.
    GenApi::IEnumeration& GetEnumerationNode(const char* name);
    GenApi::IInteger& GetIntegerNode(const char* name);
    // The "TLParamsLocked" node, or null when the camera has none.
    GenApi::IInteger* GetTLParamsLocked();

private:
    const ProducerApi& Api() const { return mInterface->GetLibrary().Api(); }
    std::string ReadFileDescription(const std::string& name) const;
    std::string ReadLocalDescription(std::uint32_t address, std::uint32_t length) const;

    // Destroyed in reverse order: the port goes before the node map, and the
    // node map before the interface.
    std::shared_ptr<Interface> mInterface;
    int mIndex;
    std::string mName;
    DEV_HANDLE mHandle = nullptr;
    GenApi::CNodeMapRef mNodeMap{"Device"};
    bool mXmlLoaded = false;
    std::shared_ptr<_CCameraPort> mPort;
};

}
