// Threads on Win32 threads, so that one that does not end can be terminated.
#include "os/Thread.h"

#include "os/Event.h"
#include "os/ThreadBody.h"

#include <windows.h>

#include <system_error>

namespace Os {

namespace {

// How long the termination of a thread is waited for.
constexpr DWORD TerminationWaitMs = 1000;

// The body belongs to the thread: a released thread may outlive its Thread.
DWORD WINAPI Run(void* argument)
{
    const std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(argument));
    RunThreadBody(*body);
    return 0;
}

}

struct Thread::State {
    HANDLE mHandle = nullptr;
    DWORD mId = 0;

    void Close()
    {
        if (mHandle != nullptr) {
            CloseHandle(mHandle);
            mHandle = nullptr;
        }
    }
};

Thread::Thread(std::function<void()> body) : mState(std::make_unique<State>())
{
    auto task = std::make_unique<std::function<void()>>(std::move(body));
    mState->mHandle = CreateThread(nullptr, 0, &Run, task.get(), 0, &mState->mId);
    if (mState->mHandle == nullptr) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "CreateThread");
    }
    task.release();
}

Thread::~Thread()
{
    mState->Close();
}

bool Thread::Join(std::uint32_t timeoutMs)
{
    if (mState->mHandle == nullptr) {
        return true;
    }
    if (WaitForSingleObject(mState->mHandle, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    mState->Close();
    return true;
}

unsigned long Thread::GetId() const
{
    return mState->mId;
}

bool Thread::EndsByForce()
{
    return true;
}

void Thread::Abandon(int exitCode)
{
    if (mState->mHandle == nullptr) {
        return;
    }
    if (WaitForSingleObject(mState->mHandle, 0) == WAIT_TIMEOUT) {
        TerminateThread(mState->mHandle, static_cast<DWORD>(exitCode));
        WaitForSingleObject(mState->mHandle, TerminationWaitMs);
    }
    mState->Close();
}

bool Thread::IsRunning() const
{
    return mState->mHandle != nullptr && WaitForSingleObject(mState->mHandle, 0) == WAIT_TIMEOUT;
}

void StopPreemptingOnWake()
{
    // Without the boost a thread gets when its wait ends, it no longer
    // preempts a thread of its own priority.
    SetThreadPriorityBoost(GetCurrentThread(), TRUE);
}

void NameCallingThread(const char* name)
{
    // Windows 10 1607 and later have it; looked up so that older systems
    // still load the library.
    using SetDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto set = reinterpret_cast<SetDescription>(
        kernel == nullptr ? nullptr : reinterpret_cast<void*>(GetProcAddress(kernel, "SetThreadDescription")));
    if (set == nullptr) {
        return;
    }
    wchar_t wide[64] = {};
    for (std::size_t i = 0; i + 1 < sizeof wide / sizeof wide[0] && name[i] != '\0'; ++i) {
        wide[i] = static_cast<unsigned char>(name[i]);
    }
    set(GetCurrentThread(), wide);
}

std::uint64_t ThreadProcessorNanoseconds()
{
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) {
        return 0;
    }
    // Both in units of 100 ns.
    const auto ticks = [](const FILETIME& time) {
        return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
    };
    return (ticks(kernel) + ticks(user)) * 100u;
}

}
