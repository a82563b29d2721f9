#include "transport/GrabFinishedEvent.h"

#include "transport/CameraError.h"
#include "transport/DataStream.h"

#include <system_error>

namespace Kavrix {

GrabFinishedEvent::GrabFinishedEvent(DataStream& stream) : mStream(stream)
{
    try {
        mEvent = std::make_shared<Os::Event>(Os::Event::Mode::ManualReset, false);
    } catch (const std::system_error&) {
        throw CameraError("Failed to create Windows Event");
    }
    EVENT_HANDLE handle = nullptr;
    CheckGCError(mStream.Api().GCRegisterEvent(mStream.GetHandle(), EventType, mEvent->GetNative(), &handle),
                 "Failed to register acquisition event");
    mHandle = handle;
}

GrabFinishedEvent::~GrabFinishedEvent()
{
    if (mHandle != nullptr) {
        mStream.Api().GCUnregisterEvent(mHandle, EventType);
    }
}

std::int32_t GrabFinishedEvent::GetBufferHandle(BUFFER_HANDLE& handle)
{
    std::int32_t code = 0;
    if (!TakeRecord(handle, code)) {
        throw CameraError("GrabFinishedEvent::GetBufferHandle: Failed to get event data", code);
    }
    return code;
}

bool GrabFinishedEvent::TakeRecord(BUFFER_HANDLE& handle, std::int32_t& code)
{
    // The record holds a whole buffer handle, which is pointer-sized.
    std::size_t size = sizeof(handle);
    code = mStream.Api().GCGetEventData(mHandle, &handle, &size);
    return code != GC_ERR_NO_DATA;
}

}
