#include "transport/GrabFinishedEvent.h"

#include "transport/CameraError.h"
#include "transport/DataStream.h"

#include <mutex>
#include <system_error>
#include <vector>

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

namespace {

// Events the producer refused to forget: it may still signal them, so they
// stay open (and their handles unused by anything else) for the life of the
// driver.
void KeepForProducer(const std::shared_ptr<Os::Event>& event)
{
    static std::mutex lock;
    static std::vector<std::shared_ptr<Os::Event>> kept;
    try {
        std::lock_guard<std::mutex> guard(lock);
        kept.push_back(event);
    } catch (...) {
        // Out of memory: the event is closed all the same.
    }
}

}

GrabFinishedEvent::~GrabFinishedEvent()
{
    if (mHandle != nullptr && mStream.Api().GCUnregisterEvent(mHandle, EventType) != 0) {
        KeepForProducer(mEvent);
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
