#include "control/RequestTimer.h"

#include <algorithm>

namespace Gige {

RequestTimer::RequestTimer(unsigned tries, std::uint32_t timeoutMs, long long now)
    : mTries(std::max(tries, 1u)), mTimeoutMs(timeoutMs), mStart(now), mDeadline(now + timeoutMs)
{
}

std::uint32_t RequestTimer::Remaining(long long now) const
{
    return now >= mDeadline ? 0 : static_cast<std::uint32_t>(mDeadline - now);
}

bool RequestTimer::NextTry(long long now)
{
    if (mTry >= mTries)
        return false;
    ++mTry;
    mDeadline = now + mTimeoutMs;
    return true;
}

void RequestTimer::Extend(long long now, std::uint32_t pendingMs)
{
    // The usual time-out at least: a camera that names 0 ms still gets one.
    const long long wanted = now + std::max(pendingMs, mTimeoutMs);
    mDeadline = std::max(mDeadline, std::min(wanted, mStart + PendingLimitMs));
}

}
