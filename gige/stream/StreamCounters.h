// The stream's counts since it was created. The receiving thread counts in
// plain numbers and adds them to the shared ones now and then, so that no
// packet costs an atomic operation; DSGetInfo reads the shared ones.
#pragma once

#include <atomic>
#include <cstdint>

namespace Gige {

struct ReceiveCounts {
    std::uint64_t mDelivered = 0;
    std::uint64_t mIncomplete = 0;
    std::uint64_t mUnderruns = 0;
    std::uint64_t mPacketsReceived = 0;
    std::uint64_t mPacketsMissing = 0;
    std::uint64_t mPacketsOutOfRange = 0;
    std::uint64_t mResendRequests = 0;
    std::uint64_t mPacketsResent = 0;
};

class StreamCounters {
public:
    // Adds the counts and clears them.
    void Add(ReceiveCounts& counts)
    {
        Add(mDelivered, counts.mDelivered);
        Add(mIncomplete, counts.mIncomplete);
        Add(mUnderruns, counts.mUnderruns);
        Add(mPacketsReceived, counts.mPacketsReceived);
        Add(mPacketsMissing, counts.mPacketsMissing);
        Add(mPacketsOutOfRange, counts.mPacketsOutOfRange);
        Add(mResendRequests, counts.mResendRequests);
        Add(mPacketsResent, counts.mPacketsResent);
        counts = ReceiveCounts();
    }

    ReceiveCounts Read() const
    {
        ReceiveCounts counts;
        counts.mDelivered = mDelivered.load(std::memory_order_relaxed);
        counts.mIncomplete = mIncomplete.load(std::memory_order_relaxed);
        counts.mUnderruns = mUnderruns.load(std::memory_order_relaxed);
        counts.mPacketsReceived = mPacketsReceived.load(std::memory_order_relaxed);
        counts.mPacketsMissing = mPacketsMissing.load(std::memory_order_relaxed);
        counts.mPacketsOutOfRange = mPacketsOutOfRange.load(std::memory_order_relaxed);
        counts.mResendRequests = mResendRequests.load(std::memory_order_relaxed);
        counts.mPacketsResent = mPacketsResent.load(std::memory_order_relaxed);
        return counts;
    }

private:
    static void Add(std::atomic<std::uint64_t>& total, std::uint64_t value)
    {
        if (value != 0) {
            total.fetch_add(value, std::memory_order_relaxed);
        }
    }

    std::atomic<std::uint64_t> mDelivered{0};
    std::atomic<std::uint64_t> mIncomplete{0};
    std::atomic<std::uint64_t> mUnderruns{0};
    std::atomic<std::uint64_t> mPacketsReceived{0};
    std::atomic<std::uint64_t> mPacketsMissing{0};
    std::atomic<std::uint64_t> mPacketsOutOfRange{0};
    std::atomic<std::uint64_t> mResendRequests{0};
    std::atomic<std::uint64_t> mPacketsResent{0};
};

}
