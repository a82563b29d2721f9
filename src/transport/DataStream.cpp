#include "transport/DataStream.h"

#include "diag/DriverContext.h"
#include "transport/CameraError.h"
#include "transport/Device.h"

#include <algorithm>
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

void DataStream::Create(std::size_t bufferCount)
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

    const std::size_t setting = bufferCount;
    if (const auto recommended = GetInfoNumber(STREAM_INFO_BUF_ANNOUNCE_MIN)) {
        const auto capped = static_cast<std::size_t>(std::min<std::uint64_t>(*recommended, MostBuffers));
        bufferCount = std::max(bufferCount, capped);
    }
    Log(3, "DataStream::Create: INFO: %zu grab buffers (setting %zu)\n", bufferCount, setting);
    mBuffers.reserve(bufferCount);
    mReady.reserve(bufferCount);
    mHeld.reserve(bufferCount);
    for (std::size_t i = 0; i < bufferCount; ++i) {
        // Read anew for each buffer: the node map answers what the camera has now.
        const auto pixelFormat = static_cast<std::uint32_t>(mDevice.GetEnumerationNode("PixelFormat").GetIntValue());
        const std::int64_t width = mDevice.GetIntegerNode("Width").GetValue();
        const std::int64_t height = mDevice.GetIntegerNode("Height").GetValue();
        mWidth = width;
        mHeight = height;
        mBuffers.push_back(std::make_unique<GrabBuffer>(*this, height, width, pixelFormat, mDevice.GetPayloadSize()));
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
    try {
        mEvent = std::make_unique<GrabFinishedEvent>(*this);
    } catch (...) {
        // Not left acquiring behind the driver's back: its buffers could
        // never be revoked.
        Api().DSStopAcquisition(GetHandle(), 0);
        for (auto& buffer : mBuffers) {
            buffer->SetQueued(false);
        }
        throw;
    }
    mAcquisitionStarted = true;
}

void DataStream::StopAcquisition()
{
    if (!NeedsStop()) {
        throw CameraError("DataStream::StopAcquisition: Acquisition not started");
    }
    mAcquisitionStarted = false;
    mEvent.reset();
    // A stop the producer refused is tried again by the next stop or
    // destroy, or the buffers could never be revoked.
    mStopFailed = true;
    CheckGCError(Api().DSStopAcquisition(GetHandle(), 0), "DataStream::StopAcquisition: Failed to stop acquisition");
    mStopFailed = false;
    mReady.clear();
    mHeld.clear();
    for (auto& buffer : mBuffers) {
        buffer->SetQueued(false);
    }
}

void DataStream::Destroy()
{
    if (mHandle == nullptr) {
        return;
    }
    if (NeedsStop()) {
        StopAcquisition();
    }
    // A buffer the producer refuses to give back ends Destroy with its error;
    // it and the later ones stay announced, and the stream stays open.
    while (!mBuffers.empty()) {
        mBuffers.front()->Revoke();
        mBuffers.erase(mBuffers.begin());
    }
    mReady.clear();
    mHeld.clear();
    CheckGCError(Api().DSClose(mHandle), "DataStream::Destroy: Failed to destroy video stream");
    mHandle = nullptr;
}

RecordKind DataStream::ProcessEvent(const char* cameraName)
{
    if (!mEvent) {
        throw CameraError("DataStream::ProcessEvent: Acquisition not started");
    }
    RequeueHeldBuffers();
    const RecordKind kind = TakeRecord(cameraName);
    if (kind == RecordKind::None) {
        throw CameraError("GrabFinishedEvent::GetBufferHandle: Failed to get event data", GC_ERR_NO_DATA);
    }
    return kind;
}

Discarded DataStream::DiscardWaitingImages(const char* cameraName)
{
    Discarded discarded;
    if (!mEvent) {
        return discarded;
    }
    RequeueHeldBuffers();
    // Bounded: a producer that keeps finding records must not hold the host here.
    for (std::size_t record = 0; record < 4 * mBuffers.size(); ++record) {
        try {
            const RecordKind kind = TakeRecord(cameraName);
            if (kind == RecordKind::None || kind == RecordKind::DeviceLost) {
                break;
            }
        } catch (const CameraError&) {
            // The buffer stays held and is queued again with the next image.
        }
        ++discarded.mRecords;
    }
    while (HasImage()) {
        GetImage(nullptr, 0);
        ++discarded.mImages;
    }
    return discarded;
}

RecordKind DataStream::TakeRecord(const char* cameraName)
{
    BUFFER_HANDLE handle = nullptr;
    std::int32_t code = 0;
    if (!mEvent->TakeRecord(handle, code)) {
        return RecordKind::None;
    }
    if (code == GC_ERR_DEVICE_LOST) {
        mDeviceLost = true;
        return RecordKind::DeviceLost;
    }
    GrabBuffer* buffer = Find(handle);
    if (buffer == nullptr) {
        if (code != 0) {
            Log(1, "DataStream::ProcessEvent: GCGetEventData result: %d", code);
            LogTiming(cameraName, true, "DataStream::ProcessEvent: genicam error, gc code=%d", code);
            CheckGCError(Api().DSQueueBuffer(GetHandle(), handle), "DataStream::ProcessEvent: Failed to queue buffer");
            return RecordKind::Failed;
        }
        Log(2, "DataStream::ProcessEvent: buffer not found");
        LogTiming(cameraName, true, "DataStream::ProcessEvent: buffer not found");
        return RecordKind::Failed;
    }
    buffer->SetQueued(false);
    if (code == GC_ERR_INCOMPLETE_FRAME) {
        Requeue(*buffer);
        return RecordKind::Incomplete;
    }
    if (code != 0) {
        Log(1, "DataStream::ProcessEvent: GCGetEventData result: %d", code);
        LogTiming(cameraName, true, "DataStream::ProcessEvent: genicam error, gc code=%d", code);
        Requeue(*buffer);
        return RecordKind::Failed;
    }
    if (!LeaderFits(*buffer)) {
        Requeue(*buffer);
        return RecordKind::WrongLeader;
    }
    mReady.push_back(buffer);
    return RecordKind::Image;
}

void DataStream::Requeue(GrabBuffer& buffer)
{
    try {
        buffer.QueueBuffer();
    } catch (const CameraError& e) {
        // Kept, and queued again with the next image.
        mHeld.push_back(&buffer);
        throw CameraError("DataStream::ProcessEvent: Failed to queue buffer", e.GetCode());
    }
}

bool DataStream::LeaderFits(GrabBuffer& buffer) const
{
    const auto info = Api().DSGetBufferInfo;
    if (info == nullptr) {
        return true;
    }
    const auto value = [&](std::int32_t command, std::uint64_t& result) {
        std::int32_t type = 0;
        std::size_t size = sizeof result;
        return info(mHandle, buffer.GetHandle(), command, &type, &result, &size) == 0 && type == INFO_DATATYPE_UINT64;
    };
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint64_t xPadding = 0;
    std::uint64_t yPadding = 0;
    if (!value(BUFFER_INFO_WIDTH, width) || !value(BUFFER_INFO_HEIGHT, height)) {
        return true;
    }
    value(BUFFER_INFO_XPADDING, xPadding);
    value(BUFFER_INFO_YPADDING, yPadding);
    return width == static_cast<std::uint64_t>(mWidth) && height == static_cast<std::uint64_t>(mHeight) &&
           xPadding == 0 && yPadding == 0;
}

GrabBuffer* DataStream::Find(BUFFER_HANDLE handle) const
{
    for (const auto& buffer : mBuffers) {
        if (buffer->GetHandle() == handle) {
            return buffer.get();
        }
    }
    return nullptr;
}

void DataStream::GetImage(void* destination, std::size_t size)
{
    if (mReady.empty()) {
        throw CameraError("Image requested when there is no image in the buffer");
    }
    GrabBuffer* buffer = mReady.front();
    mReady.erase(mReady.begin());
    try {
        if (destination != nullptr && size != 0) {
            buffer->GetImage(destination, size);
        }
    } catch (...) {
        mHeld.push_back(buffer);
        RequeueHeldBuffers();
        throw;
    }
    try {
        buffer->QueueBuffer();
    } catch (const CameraError& e) {
        Log(1, "DataStream::GetImage: ERROR: %s; the buffer is queued again with the next image\n", e.what());
        mHeld.push_back(buffer);
    }
}

void DataStream::RequeueHeldBuffers()
{
    for (auto held = mHeld.begin(); held != mHeld.end();) {
        try {
            (*held)->QueueBuffer();
            held = mHeld.erase(held);
        } catch (const CameraError&) {
            ++held;
        }
    }
}

std::optional<std::uint64_t> DataStream::GetInfoNumber(std::int32_t command) const
{
    std::uint64_t value = 0;
    std::int32_t type = 0;
    std::size_t size = sizeof value;
    if (Api().DSGetInfo == nullptr || mHandle == nullptr ||
        Api().DSGetInfo(mHandle, command, &type, &value, &size) != 0 || type != INFO_DATATYPE_UINT64) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> DataStream::GetInfoText(std::int32_t command) const
{
    char text[512] = {};
    std::int32_t type = 0;
    std::size_t size = sizeof text;
    if (Api().DSGetInfo == nullptr || mHandle == nullptr ||
        Api().DSGetInfo(mHandle, command, &type, text, &size) != 0 || type != INFO_DATATYPE_STRING) {
        return std::nullopt;
    }
    text[sizeof text - 1] = '\0';
    return std::string(text);
}

const std::shared_ptr<Os::Event>& DataStream::GetImageReceivedEvent() const
{
    if (!mAcquisitionStarted || !mEvent) {
        throw CameraError("DataStream::GetImageReceivedEvent: Acquisition not started");
    }
    return mEvent->GetEvent();
}

}
