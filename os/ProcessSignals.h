// The signals a program waits for instead of being ended by them: the request
// to end (SIGTERM and SIGINT; Windows: Ctrl+C, Ctrl+Break and closing the
// console) and, on POSIX systems, the user signal SIGUSR1.
#pragma once

#include <cstdint>

namespace Os {

enum class ProcessSignal {
    End,        // the program is asked to end
    User,       // SIGUSR1
    TimedOut,
};

class ProcessSignals {
public:
    // Make it before any other thread starts: POSIX threads started later
    // keep the signals blocked that it blocks, so that only Wait takes them.
    // One at a time in a process; raises std::system_error when the system
    // refuses.
    ProcessSignals();
    // Hands the signals back to their usual handling; one that arrived and
    // was not waited for is dropped.
    ~ProcessSignals();
    ProcessSignals(const ProcessSignals&) = delete;
    ProcessSignals& operator=(const ProcessSignals&) = delete;

    // The next signal, or TimedOut (Os::Infinite waits without limit).
    ProcessSignal Wait(std::uint32_t timeoutMs);
    // False where there is no user signal (Windows).
    static bool HasUserSignal();
};

}
