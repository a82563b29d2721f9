// Events as eventfds: the producer library can signal them with a plain
// write, and poll waits for several at once.
#include "os/Event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <system_error>

namespace Os {

namespace {

void WriteOne(int fd)
{
    const std::uint64_t one = 1;
    // EAGAIN means the counter is at its maximum: the event is set anyway.
    while (write(fd, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

// True when the event was set; a read drains the whole counter.
bool Drain(int fd)
{
    std::uint64_t value = 0;
    ssize_t result;
    do {
        result = read(fd, &value, sizeof value);
    } while (result < 0 && errno == EINTR);
    return result == static_cast<ssize_t>(sizeof value);
}

}

Event::Event(Mode mode, bool initiallySet)
    : mMode(mode), mNative(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    if (mNative < 0) {
        throw std::system_error(errno, std::generic_category(), "eventfd");
    }
    if (initiallySet) {
        Set();
    }
}

Event::~Event()
{
    close(mNative);
}

void Event::Set()
{
    WriteOne(mNative);
}

void Event::Reset()
{
    Drain(mNative);
}

void SetNativeEvent(NativeEvent event)
{
    WriteOne(event);
}

void ResetNativeEvent(NativeEvent event)
{
    Drain(event);
}

int WaitForAny(Event* const* events, std::size_t count, std::uint32_t timeoutMs)
{
    if (events == nullptr || count == 0 || count > MaxWaitEvents) {
        return WaitFailed;
    }
    pollfd fds[MaxWaitEvents];
    for (std::size_t i = 0; i < count; ++i) {
        if (events[i] == nullptr) {
            return WaitFailed;
        }
        fds[i] = pollfd{events[i]->GetNative(), POLLIN, 0};
    }

    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int pollTimeout = -1;
        if (timeoutMs != Infinite) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            pollTimeout = static_cast<int>(std::clamp<decltype(left)>(left, 0, INT_MAX));
        }
        const int ready = poll(fds, static_cast<nfds_t>(count), pollTimeout);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return WaitFailed;
        }
        if (ready == 0) {
            // poll also ends after INT_MAX ms of a longer time-out.
            if (timeoutMs != Infinite && Clock::now() >= deadline) {
                return WaitTimeout;
            }
            continue;
        }
        for (std::size_t i = 0; i < count; ++i) {
            if ((fds[i].revents & (POLLERR | POLLNVAL)) != 0) {
                return WaitFailed;
            }
            if ((fds[i].revents & POLLIN) == 0) {
                continue;
            }
            // Another waiter may have consumed an auto-reset event first.
            if (events[i]->GetMode() == Event::Mode::ManualReset || Drain(fds[i].fd)) {
                return static_cast<int>(i);
            }
        }
    }
}

}
