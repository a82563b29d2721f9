// The stream and event operations. Streams are not simulated yet: a device
// refuses to create one, so every stream or event handle is invalid.
#include "Call.h"

using namespace Tli;

using Lock = std::unique_lock<std::mutex>;

namespace {

GC_ERROR NoStream(Operation operation)
{
    return Call(operation, [](Producer&, Lock&) -> GC_ERROR { return GC_ERR_INVALID_HANDLE; });
}

}

GC_ERROR DevCreateDataStream(DEV_HANDLE hDevice, uint32_t, DS_HANDLE*)
{
    return Call(Operation::DevCreateDataStream, [&](Producer& producer, Lock&) -> GC_ERROR {
        return producer.FindDeviceHandle(hDevice) == nullptr ? GC_ERR_INVALID_HANDLE : GC_ERR_ERROR;
    });
}

GC_ERROR DSClose(DS_HANDLE)
{
    return NoStream(Operation::DSClose);
}

GC_ERROR DSAnnounceBuffer(DS_HANDLE, void*, size_t, void*, BUFFER_HANDLE*)
{
    return NoStream(Operation::DSAnnounceBuffer);
}

GC_ERROR DSRevokeBuffer(DS_HANDLE, BUFFER_HANDLE, void**, void**)
{
    return NoStream(Operation::DSRevokeBuffer);
}

GC_ERROR DSQueueBuffer(DS_HANDLE, BUFFER_HANDLE)
{
    return NoStream(Operation::DSQueueBuffer);
}

GC_ERROR DSStartAcquisition(DS_HANDLE, int32_t, uint64_t)
{
    return NoStream(Operation::DSStartAcquisition);
}

GC_ERROR DSStopAcquisition(DS_HANDLE, int32_t)
{
    return NoStream(Operation::DSStopAcquisition);
}

GC_ERROR GCRegisterEvent(DS_HANDLE, int32_t, TLI_OS_EVENT, EVENT_HANDLE*)
{
    return NoStream(Operation::GCRegisterEvent);
}

GC_ERROR GCGetEventData(EVENT_HANDLE, void*, size_t*)
{
    return NoStream(Operation::GCGetEventData);
}

GC_ERROR GCUnregisterEvent(EVENT_HANDLE, int32_t)
{
    return NoStream(Operation::GCUnregisterEvent);
}
