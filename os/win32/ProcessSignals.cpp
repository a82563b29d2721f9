// Windows: the console's control handler sets an event the wait takes.
#include "os/ProcessSignals.h"

#include "os/Event.h"

#include <windows.h>

#include <stdexcept>
#include <system_error>

namespace Os {

namespace {

// The handler runs on a thread of the system's; it only sets the event.
HANDLE gEndRequested = nullptr;

BOOL WINAPI OnControl(DWORD type)
{
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && type != CTRL_CLOSE_EVENT)
        return FALSE;
    SetEvent(gEndRequested);
    return TRUE;
}

}

ProcessSignals::ProcessSignals()
{
    if (gEndRequested != nullptr)
        throw std::logic_error("one ProcessSignals at a time");
    gEndRequested = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (gEndRequested == nullptr)
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "cannot create an event");
    if (!SetConsoleCtrlHandler(OnControl, TRUE)) {
        const DWORD error = GetLastError();
        CloseHandle(gEndRequested);
        gEndRequested = nullptr;
        throw std::system_error(static_cast<int>(error), std::system_category(), "cannot handle console signals");
    }
}

ProcessSignals::~ProcessSignals()
{
    SetConsoleCtrlHandler(OnControl, FALSE);
    CloseHandle(gEndRequested);
    gEndRequested = nullptr;
}

ProcessSignal ProcessSignals::Wait(std::uint32_t timeoutMs)
{
    return WaitForSingleObject(gEndRequested, timeoutMs == Infinite ? INFINITE : timeoutMs) == WAIT_OBJECT_0
               ? ProcessSignal::End
               : ProcessSignal::TimedOut;
}

bool ProcessSignals::HasUserSignal()
{
    return false;
}

}
