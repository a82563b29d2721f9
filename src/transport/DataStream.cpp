#include "transport/DataStream.h"

#include "diag/DriverContext.h"
#include "transport/CameraError.h"
#include "transport/Device.h"

#include <cstdint>

namespace Kavrix {

DataStream::DataStream(Device& device) : mDevice(device) {}

DataStream::~DataStream()
{
    if (mHandle == nullptr) {
        return;
    }
    try {
        Destroy();
    } catch (const std::exception& e) {
        Log(1, "DataStream::~DataStream: ERROR: %s\n", e.what());
    }
}

DS_HANDLE DataStream::GetHandle() const
{
    if (mHandle == nullptr) {
        throw CameraError("DataStream does not opened");
    }
    return mHandle;
}

const ProducerApi& DataStream::Api() const
{
    return mDevice.Api();
}

void DataStream::Create()
{
    if (mHandle != nullptr) {
        throw CameraError("DataStream::Create: Stream allready created");
    }
    DS_HANDLE handle = nullptr;
    const std::int32_t code = Api().DevCreateDataStream(mDevice.GetHandle(), 0, &handle);
    if (code == GC_ERR_INVALID_PARAMETER) {
        throw CameraError("Video packet size exceeds maximum packet size (MTU) allowed by your network. Please "
                          "configure your network adapter or decrease the size configured for the device.");
    }
    CheckGCError(code, "DataStream::DataStream: Failed to create video stream");
    mHandle = handle;

    mBuffers.reserve(BufferCount);
    mReady.reserve(BufferCount);
    for (int i = 0; i < BufferCount; ++i) {
        // Read anew for each buffer: the node map answers what the camera has now.
        const auto pixelFormat = static_cast<std::uint32_t>(mDevice.GetEnumerationNode("PixelFormat").GetIntValue());
        const std::int64_t width = mDevice.GetIntegerNode("Width").GetValue();
        const std::int64_t height = mDevice.GetIntegerNode("Height").GetValue();
        mBuffers.push_back(std::make_unique<GrabBuffer>(*this, height, width, pixelFormat));
    }
}

void DataStream::StartAcquisition()
{
    if (mAcquisitionStarted) {
        throw CameraError("DataStream::StartAcquisition: Acquisition allready started");
    }
    mReady.clear();
    for (auto& buffer : mBuffers) {
        buffer->QueueBuffer();
    }
    CheckGCError(Api().DSStartAcquisition(GetHandle(), 0, UINT64_MAX),
                 "DataStream::StartAcquisition: Failed to start acquisition");
    mEvent = std::make_unique<GrabFinishedEvent>(*this);
    mAcquisitionStarted = true;
}

void DataStream::StopAcquisition()
{
    if (!mAcquisitionStarted) {
        throw CameraError("DataStream::StopAcquisition: Acquisition not started");
    }
    mAcquisitionStarted = false;
    mEvent.reset();
    CheckGCError(Api().DSStopAcquisition(GetHandle(), 0), "DataStream::StopAcquisition: Failed to stop acquisition");
    mReady.clear();
    for (auto& buffer : mBuffers) {
        buffer->SetQueued(false);
    }
}

void DataStream::Destroy()
{
    if (mHandle == nullptr) {
        return;
    }
    if (mAcquisitionStarted) {
        StopAcquisition();
    }
    // A buffer the producer refuses to give back ends Destroy with its error;
    // it and the later ones stay announced, and the stream stays open.
    while (!mBuffers.empty()) {
        mBuffers.front()->Revoke();
        mBuffers.erase(mBuffers.begin());
    }
    mReady.clear();
    CheckGCError(Api().DSClose(mHandle), "DataStream::Destroy: Failed to destroy video stream");
    mHandle = nullptr;
}

void DataStream::ProcessEvent(const char* cameraName)
{
    if (!mEvent) {
        throw CameraError("DataStream::ProcessEvent: Acquisition not started");
    }
    BUFFER_HANDLE handle = nullptr;
    const std::int32_t code = mEvent->GetBufferHandle(handle);
    if (code != 0) {
        Log(1, "DataStream::ProcessEvent: GCGetEventData result: %d", code);
        LogTiming(cameraName, true, "DataStream::ProcessEvent: genicam error, gc code=%d", code);
        CheckGCError(Api().DSQueueBuffer(GetHandle(), handle), "DataStream::ProcessEvent: Failed to queue buffer");
        return;
    }
    for (auto& buffer : mBuffers) {
        if (buffer->GetHandle() == handle) {
            buffer->SetQueued(false);
            mReady.push_back(buffer.get());
            return;
        }
    }
    Log(2, "DataStream::ProcessEvent: buffer not found");
    LogTiming(cameraName, true, "DataStream::ProcessEvent: buffer not found");
}

void DataStream::GetImage(void* destination, std::size_t size)
{
    if (mReady.empty()) {
        throw CameraError("Image requested when there is no image in the buffer");
    }
    GrabBuffer* buffer = mReady.front();
    mReady.erase(mReady.begin());
    if (destination != nullptr && size != 0) {
        buffer->GetImage(destination, size);
    }
    buffer->QueueBuffer();
}

Os::Event& DataStream::GetImageReceivedEvent()
{
    if (!mAcquisitionStarted || !mEvent) {
        throw CameraError("DataStream::GetImageReceivedEvent: Acquisition not started");
    }
    return mEvent->GetEvent();
}

}
