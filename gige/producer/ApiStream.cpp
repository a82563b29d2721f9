// The stream and event operations, over the device's Stream.
#include "producer/Call.h"
#include "stream/InfoAnswer.h"

#include <cstring>

using namespace Gige;

namespace {

// Runs body on the stream of the handle; a failure carries the stream's text.
template <class Body>
GC_ERROR OnStream(const char* operation, DS_HANDLE handle, Body&& body)
{
    return Call(operation, [&](Producer& producer) -> Status {
        const auto record = producer.FindStream(handle);
        if (!record)
            return NotOpen("stream");
        Stream& stream = *record->mStream;
        const GC_ERROR code = body(stream);
        return code == GC_ERR_SUCCESS ? Status::Success() : Status::Failure(code, stream.LastError());
    });
}

}

GC_ERROR DevCreateDataStream(DEV_HANDLE hDevice, uint32_t iIndex, DS_HANDLE* phStream)
{
    return Call("DevCreateDataStream", [&](Producer& producer) -> Status {
        auto device = producer.FindDevice(hDevice);
        if (!device)
            return NotOpen("device");
        if (phStream == nullptr)
            return MissingArgument("handle pointer");
        if (iIndex != 0)
            return Status::Failure(GC_ERR_INVALID_ID, "stream " + std::to_string(iIndex) + ": the producer offers stream 0");
        CameraControl& control = *device->mControl;
        if (control.IsLost())
            return Status::Failure(GC_ERR_TIMEOUT, "no stream from a lost camera");
        auto record = std::make_shared<StreamRecord>();
        record->mDeviceHandle = hDevice;
        record->mDevice = device;
        record->mStream = std::make_unique<Stream>(control, device->mStreamOptions);
        DS_HANDLE handle = producer.AddStream(record);
        if (handle == nullptr)
            return Status::Failure(GC_ERR_ACCESS_DENIED, control.CameraText() + ": its stream is open already");
        *phStream = handle;
        return Status::Success();
    });
}

GC_ERROR DSClose(DS_HANDLE hStream)
{
    return Call("DSClose", [&](Producer& producer) -> Status {
        return producer.CloseStream(hStream) ? Status::Success() : NotOpen("stream");
    });
}

GC_ERROR DSAnnounceBuffer(DS_HANDLE hStream, void* pBuffer, size_t iSize, void* pPrivate, BUFFER_HANDLE* phBuffer)
{
    return OnStream("DSAnnounceBuffer", hStream,
                    [&](Stream& stream) { return stream.AnnounceBuffer(pBuffer, iSize, pPrivate, phBuffer); });
}

GC_ERROR DSRevokeBuffer(DS_HANDLE hStream, BUFFER_HANDLE hBuffer, void** pBuffer, void** pPrivate)
{
    return OnStream("DSRevokeBuffer", hStream,
                    [&](Stream& stream) { return stream.RevokeBuffer(hBuffer, pBuffer, pPrivate); });
}

GC_ERROR DSQueueBuffer(DS_HANDLE hStream, BUFFER_HANDLE hBuffer)
{
    return OnStream("DSQueueBuffer", hStream, [&](Stream& stream) { return stream.QueueBuffer(hBuffer); });
}

GC_ERROR DSStartAcquisition(DS_HANDLE hStream, int32_t iStartFlags, uint64_t iNumToAcquire)
{
    if (iStartFlags != 0)
        return Call("DSStartAcquisition", [&](Producer&) {
            return Status::Failure(GC_ERR_INVALID_PARAMETER, "start flags " + std::to_string(iStartFlags));
        });
    return OnStream("DSStartAcquisition", hStream,
                    [&](Stream& stream) { return stream.StartAcquisition(iNumToAcquire); });
}

GC_ERROR DSStopAcquisition(DS_HANDLE hStream, int32_t iStopFlags)
{
    // 0: stop; 1: kill. Both end at once.
    if (iStopFlags != 0 && iStopFlags != 1)
        return Call("DSStopAcquisition", [&](Producer&) {
            return Status::Failure(GC_ERR_INVALID_PARAMETER, "stop flags " + std::to_string(iStopFlags));
        });
    return OnStream("DSStopAcquisition", hStream, [&](Stream& stream) { return stream.StopAcquisition(); });
}

GC_ERROR DSGetInfo(DS_HANDLE hStream, int32_t iInfoCmd, int32_t* piType, void* pBuffer, size_t* piSize)
{
    return OnStream("DSGetInfo", hStream,
                    [&](Stream& stream) { return stream.GetInfo(iInfoCmd, piType, pBuffer, piSize); });
}

GC_ERROR DSGetBufferInfo(DS_HANDLE hStream, BUFFER_HANDLE hBuffer, int32_t iInfoCmd, int32_t* piType, void* pBuffer,
                         size_t* piSize)
{
    return OnStream("DSGetBufferInfo", hStream, [&](Stream& stream) -> GC_ERROR {
        BufferInfo info;
        const GC_ERROR code = stream.GetBufferInfo(hBuffer, info);
        if (code != GC_ERR_SUCCESS) {
            return code;
        }
        switch (iInfoCmd) {
        case BUFFER_INFO_SIZE_FILLED:
            return AnswerNumber(info.mFilledBytes, piType, pBuffer, piSize);
        case BUFFER_INFO_WIDTH:
            return info.mHasLeader ? AnswerNumber(info.mWidth, piType, pBuffer, piSize) : GC_ERR_NO_DATA;
        case BUFFER_INFO_HEIGHT:
            return info.mHasLeader ? AnswerNumber(info.mHeight, piType, pBuffer, piSize) : GC_ERR_NO_DATA;
        case BUFFER_INFO_XPADDING:
            return info.mHasLeader ? AnswerNumber(info.mPaddingX, piType, pBuffer, piSize) : GC_ERR_NO_DATA;
        case BUFFER_INFO_YPADDING:
            return info.mHasLeader ? AnswerNumber(info.mPaddingY, piType, pBuffer, piSize) : GC_ERR_NO_DATA;
        case BUFFER_INFO_PIXELFORMAT:
            return info.mHasLeader ? AnswerNumber(info.mPixelFormat, piType, pBuffer, piSize) : GC_ERR_NO_DATA;
        default:
            return GC_ERR_INVALID_ID;
        }
    });
}

GC_ERROR GCRegisterEvent(DS_HANDLE hStream, int32_t iEventType, TLI_OS_EVENT hOsEvent, EVENT_HANDLE* phEvent)
{
    return Call("GCRegisterEvent", [&](Producer& producer) -> Status {
        auto record = producer.FindStream(hStream);
        if (!record)
            return NotOpen("stream");
#if defined(_WIN32)
        const bool validEvent = hOsEvent != nullptr;
#else
        const bool validEvent = hOsEvent >= 0;
#endif
        if (iEventType != EVENT_NEW_BUFFER || !validEvent || phEvent == nullptr)
            return Status::Failure(GC_ERR_INVALID_PARAMETER, "an event of type 0 (new buffer), an event and a "
                                                             "handle pointer are needed");
        Stream& stream = *record->mStream;
        const GC_ERROR code = stream.RegisterEvent(hOsEvent);
        if (code != GC_ERR_SUCCESS)
            return Status::Failure(code, stream.LastError());
        auto event = std::make_shared<EventRecord>();
        event->mStreamHandle = hStream;
        event->mStream = std::move(record);
        *phEvent = producer.AddEvent(std::move(event));
        return Status::Success();
    });
}

GC_ERROR GCGetEventData(EVENT_HANDLE hEvent, void* pBuffer, size_t* piSize)
{
    // A record's own code (a frame, an incomplete frame, none waiting) is
    // the answer, not a failure of the call.
    GC_ERROR recordCode = GC_ERR_SUCCESS;
    const GC_ERROR result = Call("GCGetEventData", [&](Producer& producer) -> Status {
        const auto event = producer.FindEvent(hEvent);
        if (!event)
            return NotOpen("event");
        if (pBuffer == nullptr || piSize == nullptr)
            return MissingArgument("buffer or size pointer");
        // The record is a whole buffer handle, whatever the pointer size.
        if (*piSize < sizeof(BUFFER_HANDLE)) {
            *piSize = sizeof(BUFFER_HANDLE);
            return Status::Failure(GC_ERR_INVALID_BUFFER_SIZE, "a record is a buffer handle of " +
                                                                   std::to_string(sizeof(BUFFER_HANDLE)) + " bytes");
        }
        Stream& stream = *event->mStream->mStream;
        BUFFER_HANDLE buffer = nullptr;
        recordCode = stream.TakeRecord(&buffer);
        if (recordCode == GC_ERR_NO_DATA)
            return Status::Success();
        std::memcpy(pBuffer, &buffer, sizeof buffer);
        *piSize = sizeof buffer;
        if (recordCode == GC_ERR_SUCCESS || recordCode == GC_ERR_INCOMPLETE_FRAME)
            return Status::Success();
        return Status::Failure(recordCode, stream.LastError());
    });
    return result != GC_ERR_SUCCESS ? result : recordCode;
}

GC_ERROR GCUnregisterEvent(EVENT_HANDLE hEvent, int32_t iEventType)
{
    return Call("GCUnregisterEvent", [&](Producer& producer) -> Status {
        if (!producer.FindEvent(hEvent))
            return NotOpen("event");
        if (iEventType != EVENT_NEW_BUFFER)
            return Status::Failure(GC_ERR_INVALID_PARAMETER, "event type " + std::to_string(iEventType));
        producer.CloseEvent(hEvent);
        return Status::Success();
    });
}
