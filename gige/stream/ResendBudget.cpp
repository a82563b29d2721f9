#include "stream/ResendBudget.h"

#include <algorithm>

namespace Gige {

namespace {

constexpr std::uint64_t Unit = 1000;

}

ResendBudget::ResendBudget(std::uint32_t packetsPerSecond, std::uint32_t burst)
    : mRatePerMs(packetsPerSecond), mCapacity(std::uint64_t{burst} * Unit), mTokens(mCapacity)
{
}

std::uint32_t ResendBudget::Take(std::uint32_t count, long long now)
{
    std::lock_guard<std::mutex> lock(mLock);
    if (mStarted && now > mLastMs) {
        const auto elapsed = static_cast<std::uint64_t>(now - mLastMs);
        // An idle budget is full: no overflow however long it idled.
        const bool full = mRatePerMs != 0 && elapsed > mCapacity / mRatePerMs;
        mTokens = full ? mCapacity : std::min(mCapacity, mTokens + elapsed * mRatePerMs);
    }
    if (!mStarted || now > mLastMs) {
        mLastMs = now;
        mStarted = true;
    }
    const auto granted = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, mTokens / Unit));
    mTokens -= std::uint64_t{granted} * Unit;
    mGranted += granted;
    return granted;
}

std::uint64_t ResendBudget::Granted() const
{
    std::lock_guard<std::mutex> lock(mLock);
    return mGranted;
}

}
