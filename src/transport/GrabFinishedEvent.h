// The acquisition event of a running stream: an operating-system event the
// producer sets while a filled buffer waits to be taken.
#pragma once

#include "TLI.h"
#include "os/Event.h"

#include <cstdint>
#include <memory>

namespace Kavrix {

class DataStream;

class GrabFinishedEvent {
public:
    // Creates the event (manual reset, clear) and registers it with the producer.
    explicit GrabFinishedEvent(DataStream& stream);
    // Unregisters, then closes the event; an event the producer refused to
    // unregister is kept open, since the producer may still signal it.
    ~GrabFinishedEvent();
    GrabFinishedEvent(const GrabFinishedEvent&) = delete;
    GrabFinishedEvent& operator=(const GrabFinishedEvent&) = delete;

    // Takes the next record: its buffer handle and the producer's code. The
    // code -5 (no record pending) raises; any other code is returned.
    std::int32_t GetBufferHandle(BUFFER_HANDLE& handle);
    // The same, but false when no record is pending.
    bool TakeRecord(BUFFER_HANDLE& handle, std::int32_t& code);
    // Shared: whoever waits on the event keeps it alive until it stops
    // waiting, even when the stream closes meanwhile.
    const std::shared_ptr<Os::Event>& GetEvent() const { return mEvent; }

private:
    static constexpr std::int32_t EventType = EVENT_NEW_BUFFER;

    DataStream& mStream;
    std::shared_ptr<Os::Event> mEvent;
    EVENT_HANDLE mHandle = nullptr;
};

}
