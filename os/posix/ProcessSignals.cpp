// POSIX: the signals are blocked in every thread and taken by sigtimedwait.
#include "os/ProcessSignals.h"

#include "os/Event.h"

#include <signal.h>

#include <cerrno>
#include <ctime>
#include <system_error>

namespace Os {

namespace {

sigset_t Waited()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGUSR1);
    return set;
}

}

ProcessSignals::ProcessSignals()
{
    const sigset_t set = Waited();
    if (const int error = pthread_sigmask(SIG_BLOCK, &set, nullptr))
        throw std::system_error(error, std::generic_category(), "cannot block the signals to wait for");
}

ProcessSignals::~ProcessSignals()
{
    const sigset_t set = Waited();
    const timespec now{0, 0};
    while (sigtimedwait(&set, nullptr, &now) > 0) {
    }
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

ProcessSignal ProcessSignals::Wait(std::uint32_t timeoutMs)
{
    const sigset_t set = Waited();
    const timespec timeout{static_cast<time_t>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000000L};
    for (;;) {
        const int signal = timeoutMs == Infinite ? sigwaitinfo(&set, nullptr) : sigtimedwait(&set, nullptr, &timeout);
        if (signal == SIGUSR1)
            return ProcessSignal::User;
        if (signal > 0)
            return ProcessSignal::End;
        // Another signal's handler interrupted the wait: a shorter wait
        // would do, but no signal of ours is lost.
        if (errno != EINTR)
            return ProcessSignal::TimedOut;
    }
}

bool ProcessSignals::HasUserSignal()
{
    return true;
}

}
