// How a stream asks for the packets it missed (ResendPlanner does the asking).
#pragma once

#include "stream/ResendBudget.h"

#include <cstdint>
#include <memory>

namespace Gige {

struct ResendSettings {
    // The camera announces resend and the host wants it.
    bool mEnabled = false;
    // A gap waits this long for reordered packets before it is asked for.
    std::uint32_t mInitialWaitMs = 2;
    // A request not answered in this time is asked again.
    std::uint32_t mTimeoutMs = 20;
    // The most packets a frame asks for, first requests and retries, as a
    // percentage of its packets (at least one packet).
    std::uint32_t mFramePercent = 25;
    // Shared with the library's other streams; none: no limit but the frame's.
    std::shared_ptr<ResendBudget> mBudget;
};

}
