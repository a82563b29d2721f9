// The timing of one control request, apart from the socket: each try waits
// the time-out for its answer; a try that passes without one sends the
// request again (with the same ID) until the tries are used up. A
// PENDING_ACK pushes the wait out by the time it names, without using a try,
// but never past PendingLimitMs after the request began, so a camera that
// keeps asking for time cannot hold the channel for ever. Times are
// milliseconds on a monotonic clock.
#pragma once

#include <cstdint>

namespace Gige {

class RequestTimer {
public:
    static constexpr long long PendingLimitMs = 30000;

    // The first try is sent at now.
    RequestTimer(unsigned tries, std::uint32_t timeoutMs, long long now);

    long long Deadline() const { return mDeadline; }
    // Milliseconds left until the deadline, 0 once it has passed.
    std::uint32_t Remaining(long long now) const;
    // The deadline has passed: true when another try is due (and starts
    // now), false when every try is used up.
    bool NextTry(long long now);
    // The camera announced pendingMs more.
    void Extend(long long now, std::uint32_t pendingMs);

    unsigned TriesUsed() const { return mTry; }

private:
    unsigned mTries;
    std::uint32_t mTimeoutMs;
    long long mStart;
    long long mDeadline;
    unsigned mTry = 1;
};

}
