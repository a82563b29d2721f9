// One camera on an interface: the producer's device, the camera's control,
// its description in a node map and the register port under it. Held by
// shared pointer by the camera made for it.
#pragma once

#include "os/Event.h"
#include "transport/CameraPort.h"
#include "transport/DataStream.h"
#include "transport/Interface.h"

#include <GenApi/GenApi.h>

#include <cstdint>
#include <memory>
#include <string>

class CameraParameters;
class Param_;

namespace Kavrix {

class Device {
public:
    // Asks the producer for the name it lists at index now: the device keeps
    // it and opens by it, whichever place the camera takes in the list later.
    Device(std::shared_ptr<Interface> iface, int index);
    // Closes the device when it is still open; failures are logged.
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // The name the camera was listed with.
    const std::string& GetName() const { return mName; }
    DEV_HANDLE GetHandle() const;
    std::string GetInfo(std::int32_t command) const;
    int GetIndex() const { return mIndex; }
    bool IsOpen() const { return mHandle != nullptr; }

    // Opens the device, takes control of the camera, loads its description
    // and makes the data stream object.
    void Open();
    // Stops and destroys the stream and closes the device.
    void Close();
    void GetControlPrivilege();

    // The camera's own acquisition, through its "AcquisitionStart" and
    // "AcquisitionStop" commands.
    void StartAcquisition();
    void StopAcquisition();
    bool IsAcquisitionStarted() const { return mAcquisitionStarted; }
    // Creates the producer stream with its buffers and starts it; the camera
    // counts as in use ("TLParamsLocked" 1) while it runs.
    void OpenDataStream(std::size_t bufferCount = DataStream::DefaultBufferCount);

    // The stream's image path (see DataStream).
    const std::shared_ptr<Os::Event>& GetImageReceivedEvent();
    RecordKind ProcessEvent(const char* cameraName);
    bool HasImage();
    const GrabBuffer* GetNextImage();
    void GetImage(void* destination, std::size_t size);
    // Gives the oldest filled buffer back to the producer unread.
    void DiscardImage();
    void RequeueHeldBuffers();
    std::size_t GetHeldBufferCount();
    // See DataStream::DiscardWaitingImages; nothing without a stream.
    Discarded DiscardWaitingImages(const char* cameraName);
    // Bytes of each grab buffer, and the pixel format they were made for.
    std::size_t GetGrabBufferSize();
    std::uint32_t GetGrabPixelFormat();
    DataStream* GetDataStream() { return mDataStream.get(); }

    // The camera's parameters from its node map (see NodeMapParams): built
    // at open, written to the camera and read back.
    void OpenConfiguration(CameraParameters& params);
    void ApplyConfiguration(CameraParameters& params);
    // False when the camera did not take the value; the parameter then holds
    // the camera's value again.
    bool ApplyParameter(Param_& param);
    void UpdateConfiguration(CameraParameters& params);
    void UpdateParameter(Param_* param);

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
    // The bytes the camera sends per frame ("PayloadSize"), or 0 when its
    // description does not say.
    std::int64_t GetPayloadSize();
    // Sets the acquisition mode to the entry of that name where the camera
    // has one, else to the value given (the common value of that mode).
    void SetAcquisitionMode(const char* entry, std::int64_t fallback);

    const ProducerApi& Api() const { return mInterface->GetLibrary().Api(); }

private:
    DataStream& Stream();
    std::string ReadName() const;
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
    std::unique_ptr<DataStream> mDataStream;
    bool mAcquisitionStarted = false;
};

}
