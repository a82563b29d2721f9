// What resend knows of one frame in flight. Its packets are numbered as
// the camera numbers them for a request: the leader 0, the payload 1..N,
// the trailer N+1. ResendPlanner keeps it; the frame holds it so that it
// begins and ends with the frame and costs no allocation.
#pragma once

#include <cstdint>
#include <limits>

namespace Gige {

struct FrameResend {
    static constexpr long long Never = std::numeric_limits<long long>::max();

    // Missing packets are still asked for.
    bool mAsking = false;
    // How long an ended frame waits for a packet before it is handed over
    // as it is: long while answers may come, 0 once none will.
    std::uint32_t mHoldMs = 0;
    // The first packet not looked at yet for a first request.
    std::uint32_t mNext = 0;
    // A gap up to mGapLimit was seen at mGapAt: it is asked for after the
    // wait for reordered packets.
    long long mGapAt = Never;
    std::uint32_t mGapLimit = 0;
    // At mRetryAt the packets up to mRetryUpTo still missing are asked again.
    long long mRetryAt = Never;
    std::uint32_t mRetryUpTo = 0;
    // When the trailer of a frame that fell silent was last asked for.
    long long mProbeAt = Never;
    // Packets asked for, first requests and retries, against the frame's cap.
    std::uint32_t mAsked = 0;
};

}
