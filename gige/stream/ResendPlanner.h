// Resend for the frames in flight: a gap in a frame's packets waits a
// short while for packets that are only reordered, then its contiguous
// runs of missing packets are asked for with PACKETRESEND; what is still
// missing a time-out later is asked again. A frame asks for at most its
// share of its packets, all streams together for no more than their shared
// budget; a frame the camera says it no longer has asks for nothing more.
#pragma once

#include "stream/Frame.h"
#include "stream/ResendSender.h"
#include "stream/ResendSettings.h"
#include "stream/StreamCounters.h"
#include "wire/GvcpHeader.h"

#include <cstdint>

namespace Gige {

class ResendPlanner {
public:
    // The sender outlives the planner; null sends nothing (and counts no
    // request).
    ResendPlanner(const ResendSettings& settings, ResendSender* sender, ReceiveCounts& counts);

    // A frame begins: resend, when enabled, holds it for up to retentionMs
    // of silence once it ended.
    void Begin(Frame& frame, std::uint32_t retentionMs) const;
    // The camera no longer has packets of the frame.
    static void GiveUp(Frame& frame);
    // Asks for what the frame misses that is due by seen (the time up to
    // which every packet that came was accepted); when the frame is next
    // due, or FrameResend::Never.
    long long Service(Frame& frame, long long seen);

private:
    // Asks for the runs of missing packets among first..last.
    void AskMissing(Frame& frame, std::uint32_t first, std::uint32_t last, long long seen);
    void Ask(Frame& frame, std::uint32_t first, std::uint32_t last, long long seen);
    // Stops asking; the answers of the requests sent have a time-out to come.
    void StopAsking(Frame& frame) const;

    ResendSettings mSettings;
    ResendSender* mSender;
    ReceiveCounts& mCounts;
    std::uint16_t mRequestId = 0;
    GvcpBuffer mCommand{};
};

}
