// A thread of the driver with a join that can give up after a time-out.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace Os {

class Thread {
public:
    // Starts body at once; raises std::system_error when the system refuses.
    explicit Thread(std::function<void()> body);
    // Joins when the thread has ended; otherwise releases it and lets it run
    // on: only Abandon ends a thread by force.
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // True when the thread ended within the time-out (it is then joined);
    // Os::Infinite waits without limit.
    bool Join(std::uint32_t timeoutMs);
    // Ends a thread that did not finish: Windows terminates it with the exit
    // code; POSIX has no safe equivalent, so it is detached and left to end
    // on its own.
    void Abandon(int exitCode = 1);
    // True where Abandon ends a thread by force.
    static bool EndsByForce();
    bool IsRunning() const;
    // The system's number for the thread, for log lines.
    unsigned long GetId() const;

private:
    struct State;
    std::unique_ptr<State> mState;
};

void SleepMs(std::uint32_t ms);

// Names the calling thread for the system's tools (top -H, /proc, a
// debugger's thread list), so that an engineer sees what costs processor
// time. Linux keeps the first 15 characters. Best effort: a refusal changes
// nothing.
void NameCallingThread(const char* name);

// Processor time (user and system) the calling thread has used so far, in
// nanoseconds: what a thread's work costs, whatever else the machine runs.
// 0 where the system does not tell.
std::uint64_t ThreadProcessorNanoseconds();

// From now on the calling thread, when its wait ends, waits for its turn
// instead of taking the processor from the thread that runs (the one that
// woke it, typically). For threads that stand in for hardware, which takes
// no processor time from its host. Linux: the batch scheduling policy;
// Windows: no priority boost on waking. Best effort: a refusal changes nothing.
void StopPreemptingOnWake();

}
