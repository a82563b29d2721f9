#include "os/posix/PollWait.h"

#include "os/Event.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>

namespace Os {

WaitResult PollWait(int fd, int wakeFd, std::uint32_t timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    pollfd fds[2] = {{wakeFd, POLLIN, 0}, {fd, POLLIN, 0}};
    for (;;) {
        int pollTimeout = -1;
        if (timeoutMs != Infinite) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            pollTimeout = static_cast<int>(std::clamp<decltype(left)>(left, 0, INT_MAX));
        }
        const int ready = poll(fds, 2, pollTimeout);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return WaitResult::Failed;
        }
        if (ready == 0) {
            // poll also ends after INT_MAX ms of a longer time-out.
            if (timeoutMs != Infinite && Clock::now() >= deadline) {
                return WaitResult::TimedOut;
            }
            continue;
        }
        if ((fds[0].revents & POLLNVAL) != 0 || (fds[1].revents & POLLNVAL) != 0) {
            return WaitResult::Failed;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            ResetNativeEvent(wakeFd);
            return WaitResult::Woken;
        }
        if ((fds[1].revents & (POLLIN | POLLERR)) != 0) {
            return WaitResult::Ready;
        }
    }
}

}
