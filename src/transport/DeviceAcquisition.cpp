// The camera's acquisition commands and the device's image stream.
#include "transport/CameraError.h"
#include "transport/Device.h"

namespace Kavrix {

namespace {

void Execute(GenApi::CNodeMapRef& nodeMap, const char* name)
{
    auto* command = dynamic_cast<GenApi::ICommand*>(nodeMap._GetNode(name));
    if (command == nullptr) {
        throw LOGICAL_ERROR_EXCEPTION("NULL poiner dereferenced");
    }
    command->Execute();
}

}

void Device::StartAcquisition()
{
    if (mAcquisitionStarted) {
        throw CameraError("Device::StartAcquisition: Acquisition allready started");
    }
    Execute(mNodeMap, "AcquisitionStart");
    mAcquisitionStarted = true;
}

void Device::StopAcquisition()
{
    if (!mAcquisitionStarted) {
        throw CameraError("Device::StopAcquisition: Acquisition already stopped");
    }
    mAcquisitionStarted = false;
    Execute(mNodeMap, "AcquisitionStop");
}

void Device::OpenDataStream(std::size_t bufferCount)
{
    DataStream& stream = Stream();
    stream.Create(bufferCount);
    if (GenApi::IInteger* locked = GetTLParamsLocked()) {
        locked->SetValue(1);
    }
    stream.StartAcquisition();
}

DataStream& Device::Stream()
{
    if (!mDataStream) {
        throw CameraError("Device does not open");
    }
    return *mDataStream;
}

const std::shared_ptr<Os::Event>& Device::GetImageReceivedEvent()
{
    return Stream().GetImageReceivedEvent();
}

RecordKind Device::ProcessEvent(const char* cameraName)
{
    return Stream().ProcessEvent(cameraName);
}

bool Device::HasImage()
{
    return Stream().HasImage();
}

const GrabBuffer* Device::GetNextImage()
{
    return Stream().GetNextImage();
}

void Device::GetImage(void* destination, std::size_t size)
{
    Stream().GetImage(destination, size);
}

void Device::DiscardImage()
{
    Stream().GetImage(nullptr, 0);
}

void Device::RequeueHeldBuffers()
{
    Stream().RequeueHeldBuffers();
}

std::size_t Device::GetHeldBufferCount()
{
    return Stream().GetHeldBufferCount();
}

Discarded Device::DiscardWaitingImages(const char* cameraName)
{
    return mDataStream ? mDataStream->DiscardWaitingImages(cameraName) : Discarded{};
}

std::size_t Device::GetGrabBufferSize()
{
    const auto& buffers = Stream().GetBuffers();
    if (buffers.empty()) {
        throw CameraError("Device::GetGrabBufferSize: the stream has no buffers");
    }
    return buffers.front()->GetSize();
}

std::uint32_t Device::GetGrabPixelFormat()
{
    const auto& buffers = Stream().GetBuffers();
    if (buffers.empty()) {
        throw CameraError("Device::GetGrabBufferSize: the stream has no buffers");
    }
    return buffers.front()->GetPixelFormat();
}

}
