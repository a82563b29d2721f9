#include "os/Event.h"

#include <windows.h>

#include <system_error>

namespace Os {

Event::Event(Mode mode, bool initiallySet)
    : mMode(mode),
      mNative(CreateEventA(nullptr, mode == Mode::ManualReset ? TRUE : FALSE, initiallySet ? TRUE : FALSE, nullptr))
{
    if (mNative == nullptr) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "CreateEvent");
    }
}

Event::~Event()
{
    CloseHandle(mNative);
}

void Event::Set()
{
    SetEvent(mNative);
}

void Event::Reset()
{
    ResetEvent(mNative);
}

void SetNativeEvent(NativeEvent event)
{
    SetEvent(event);
}

void ResetNativeEvent(NativeEvent event)
{
    ResetEvent(event);
}

int WaitForAny(Event* const* events, std::size_t count, std::uint32_t timeoutMs)
{
    if (events == nullptr || count == 0 || count > MaxWaitEvents) {
        return WaitFailed;
    }
    HANDLE handles[MaxWaitEvents];
    for (std::size_t i = 0; i < count; ++i) {
        if (events[i] == nullptr) {
            return WaitFailed;
        }
        handles[i] = events[i]->GetNative();
    }
    const DWORD result = WaitForMultipleObjects(static_cast<DWORD>(count), handles, FALSE, timeoutMs);
    if (result == WAIT_TIMEOUT) {
        return WaitTimeout;
    }
    if (result >= WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count) {
        return static_cast<int>(result - WAIT_OBJECT_0);
    }
    return WaitFailed;
}

}
