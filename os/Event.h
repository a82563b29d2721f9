// An operating-system event: a kernel object that other threads, and on Linux
// other libraries (the producer), can signal. Windows: a Win32 event. Linux:
// an eventfd in non-blocking mode (set = write 1, reset = drain).
#pragma once

#include <cstddef>
#include <cstdint>

namespace Os {

#if defined(_WIN32)
using NativeEvent = void*;
#else
using NativeEvent = int;
#endif

class Event {
public:
    enum class Mode { AutoReset, ManualReset };

    // Raises std::system_error when the system cannot create the event.
    explicit Event(Mode mode, bool initiallySet = false);
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set();
    void Reset();
    Mode GetMode() const { return mMode; }
    NativeEvent GetNative() const { return mNative; }

private:
    Mode mMode;
    NativeEvent mNative;
};

// Sets or resets an event known only by its native handle (how the producer
// signals the event a driver registered with it).
void SetNativeEvent(NativeEvent event);
void ResetNativeEvent(NativeEvent event);

constexpr std::size_t MaxWaitEvents = 64;
constexpr int WaitTimeout = -1;
constexpr int WaitFailed = -2;
constexpr std::uint32_t Infinite = 0xFFFFFFFFu;

// Waits until at least one of the events is set or the time-out passes, like
// WaitForMultipleObjects: returns the lowest index that is set (consuming it
// when it is an auto-reset event), WaitTimeout, or WaitFailed (also for no
// events or more than MaxWaitEvents).
int WaitForAny(Event* const* events, std::size_t count, std::uint32_t timeoutMs);

}
