// The stream and event operations.
#include "Call.h"

#include <cstring>

using namespace Tli;

namespace {

// Packet size field of the stream channel packet size register.
constexpr const char* PacketSize = "GevSCPSPacketSizeBits";

// Runs body on the stream of the handle; GC_ERR_INVALID_HANDLE when there is none.
template <class Body>
GC_ERROR OnStream(Operation operation, DS_HANDLE handle, Body&& body)
{
    return Call(operation, [&](Producer& producer) -> GC_ERROR {
        StreamRecord* record = producer.FindStreamHandle(handle);
        if (record == nullptr)
            return GC_ERR_INVALID_HANDLE;
        return body(producer, *record->mStream);
    });
}

}

GC_ERROR DevCreateDataStream(DEV_HANDLE hDevice, uint32_t iIndex, DS_HANDLE* phStream)
{
    return Call(Operation::DevCreateDataStream, [&](Producer& producer) -> GC_ERROR {
        const DeviceRecord* record = producer.FindDeviceHandle(hDevice);
        if (record == nullptr)
            return GC_ERR_INVALID_HANDLE;
        if (phStream == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        // The cameras have one stream channel.
        if (iIndex != 0)
            return GC_ERR_INVALID_ID;
        Camera& camera = *record->mCamera;
        if (camera.IsRemoved())
            return GC_ERR_TIMEOUT;
        if (camera.GetStream() != nullptr)
            return GC_ERR_ACCESS_DENIED;
        const InterfaceRecord* iface = producer.FindInterfaceHandle(record->mInterfaceHandle);
        // Packets larger than the network carries never arrive.
        if (iface != nullptr && camera.Registers().GetInteger(PacketSize) > iface->mInterface->GetMtu())
            return GC_ERR_INVALID_PARAMETER;
        *phStream = producer.OpenStream(hDevice, record->mCamera);
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR DSClose(DS_HANDLE hStream)
{
    return OnStream(Operation::DSClose, hStream, [&](Producer& producer, Stream&) -> GC_ERROR {
        producer.CloseStream(hStream);
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR DSAnnounceBuffer(DS_HANDLE hStream, void* pBuffer, size_t iSize, void* pPrivate, BUFFER_HANDLE* phBuffer)
{
    return OnStream(Operation::DSAnnounceBuffer, hStream, [&](Producer&, Stream& stream) {
        return stream.Announce(pBuffer, iSize, pPrivate, phBuffer);
    });
}

GC_ERROR DSRevokeBuffer(DS_HANDLE hStream, BUFFER_HANDLE hBuffer, void** pBuffer, void** pPrivate)
{
    return OnStream(Operation::DSRevokeBuffer, hStream,
                    [&](Producer&, Stream& stream) { return stream.Revoke(hBuffer, pBuffer, pPrivate); });
}

GC_ERROR DSQueueBuffer(DS_HANDLE hStream, BUFFER_HANDLE hBuffer)
{
    return OnStream(Operation::DSQueueBuffer, hStream, [&](Producer&, Stream& stream) { return stream.Queue(hBuffer); });
}

GC_ERROR DSStartAcquisition(DS_HANDLE hStream, int32_t iStartFlags, uint64_t iNumToAcquire)
{
    return OnStream(Operation::DSStartAcquisition, hStream, [&](Producer&, Stream& stream) -> GC_ERROR {
        if (iStartFlags != 0)
            return GC_ERR_INVALID_PARAMETER;
        return stream.Start(iNumToAcquire);
    });
}

GC_ERROR DSStopAcquisition(DS_HANDLE hStream, int32_t iStopFlags)
{
    return OnStream(Operation::DSStopAcquisition, hStream, [&](Producer& producer, Stream& stream) -> GC_ERROR {
        // 0: stop; 1: kill. Both end at once here.
        if (iStopFlags != 0 && iStopFlags != 1)
            return GC_ERR_INVALID_PARAMETER;
        producer.Retire(stream.Stop());
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR GCRegisterEvent(DS_HANDLE hStream, int32_t iEventType, TLI_OS_EVENT hOsEvent, EVENT_HANDLE* phEvent)
{
    return OnStream(Operation::GCRegisterEvent, hStream, [&](Producer& producer, Stream& stream) -> GC_ERROR {
#if defined(_WIN32)
        const bool validEvent = hOsEvent != nullptr;
#else
        const bool validEvent = hOsEvent >= 0;
#endif
        if (iEventType != EVENT_NEW_BUFFER || !validEvent || phEvent == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        const GC_ERROR result = stream.RegisterEvent(hOsEvent);
        if (result == GC_ERR_SUCCESS)
            *phEvent = producer.OpenEvent(hStream);
        return result;
    });
}

GC_ERROR GCGetEventData(EVENT_HANDLE hEvent, void* pBuffer, size_t* piSize)
{
    return Call(Operation::GCGetEventData, [&](Producer& producer) -> GC_ERROR {
        const EventRecord* event = producer.FindEventHandle(hEvent);
        StreamRecord* stream = event == nullptr ? nullptr : producer.FindStreamHandle(event->mStream);
        if (stream == nullptr)
            return GC_ERR_INVALID_HANDLE;
        if (pBuffer == nullptr || piSize == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        // The record is a whole buffer handle, whatever the pointer size.
        if (*piSize < sizeof(BUFFER_HANDLE)) {
            *piSize = sizeof(BUFFER_HANDLE);
            return GC_ERR_INVALID_BUFFER_SIZE;
        }
        BUFFER_HANDLE buffer = nullptr;
        const GC_ERROR code = stream->mStream->TakeRecord(&buffer);
        if (code == GC_ERR_NO_DATA)
            return code;
        std::memcpy(pBuffer, &buffer, sizeof buffer);
        *piSize = sizeof buffer;
        return code;
    });
}

GC_ERROR GCUnregisterEvent(EVENT_HANDLE hEvent, int32_t iEventType)
{
    return Call(Operation::GCUnregisterEvent, [&](Producer& producer) -> GC_ERROR {
        if (producer.FindEventHandle(hEvent) == nullptr)
            return GC_ERR_INVALID_HANDLE;
        if (iEventType != EVENT_NEW_BUFFER)
            return GC_ERR_INVALID_PARAMETER;
        producer.CloseEvent(hEvent);
        return GC_ERR_SUCCESS;
    });
}
