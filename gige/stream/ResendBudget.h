// The packets all streams of a library may ask the cameras to send again: a
// token bucket that refills at a steady rate up to a burst. A broken link
// whose every frame misses packets then asks for no more than the budget,
// and the requests and the packets sent again never crowd out the other
// cameras' streams. The receiving threads of all streams share one.
#pragma once

#include <cstdint>
#include <mutex>

namespace Gige {

class ResendBudget {
public:
    // packetsPerSecond: the steady rate; burst: the most packets asked at once.
    ResendBudget(std::uint32_t packetsPerSecond, std::uint32_t burst);

    // Takes up to count packets at now (monotonic milliseconds): the number
    // granted, 0 when the budget is spent.
    std::uint32_t Take(std::uint32_t count, long long now);
    // Packets granted since the budget was made.
    std::uint64_t Granted() const;

private:
    // In thousandths of a packet, so that a millisecond's refill is whole.
    const std::uint64_t mRatePerMs;
    const std::uint64_t mCapacity;
    mutable std::mutex mLock;
    std::uint64_t mTokens;
    long long mLastMs = 0;
    bool mStarted = false;
    std::uint64_t mGranted = 0;
};

}
