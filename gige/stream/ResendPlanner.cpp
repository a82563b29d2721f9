#include "stream/ResendPlanner.h"

#include "wire/PacketResend.h"

#include <algorithm>

namespace Gige {

namespace {

// The stream channel the producer receives.
constexpr std::uint16_t Channel = 0;

}

ResendPlanner::ResendPlanner(const ResendSettings& settings, ResendSender* sender, ReceiveCounts& counts)
    : mSettings(settings), mSender(sender), mCounts(counts)
{
}

void ResendPlanner::Begin(Frame& frame, std::uint32_t retentionMs) const
{
    FrameResend& resend = frame.Resend();
    resend.mAsking = mSettings.mEnabled;
    resend.mHoldMs = mSettings.mEnabled ? retentionMs : 0;
}

void ResendPlanner::GiveUp(Frame& frame)
{
    FrameResend& resend = frame.Resend();
    resend.mAsking = false;
    resend.mHoldMs = 0;
}

void ResendPlanner::StopAsking(Frame& frame) const
{
    FrameResend& resend = frame.Resend();
    resend.mAsking = false;
    resend.mHoldMs = std::min(resend.mHoldMs, mSettings.mTimeoutMs);
}

long long ResendPlanner::Service(Frame& frame, long long seen)
{
    FrameResend& resend = frame.Resend();
    if (resend.mAsking && frame.IsDamaged()) {
        GiveUp(frame);
    }
    if (!resend.mAsking) {
        return FrameResend::Never;
    }
    const long long wait = mSettings.mInitialWaitMs;
    // A gap that waited long enough for reordered packets is asked for.
    if (resend.mGapAt != FrameResend::Never && seen >= resend.mGapAt + wait) {
        AskMissing(frame, resend.mNext, resend.mGapLimit, seen);
        resend.mNext = resend.mGapLimit + 1;
        resend.mGapAt = FrameResend::Never;
        if (resend.mRetryAt == FrameResend::Never) {
            resend.mRetryAt = seen + mSettings.mTimeoutMs;
            resend.mRetryUpTo = resend.mNext - 1;
        }
    }
    // The next gap begins its wait.
    const long long limit = frame.OverdueLimit();
    if (resend.mAsking && resend.mGapAt == FrameResend::Never && limit >= resend.mNext) {
        const auto last = static_cast<std::uint32_t>(limit);
        const std::uint32_t first = frame.NextMissing(resend.mNext, last);
        if (first > last) {
            resend.mNext = last + 1;
        } else {
            resend.mNext = first;
            resend.mGapAt = seen;
            resend.mGapLimit = last;
        }
    }
    // A frame whose packets stop before its trailer lost its tail, or its
    // camera (or the host) paused. Only its trailer is asked for: its
    // answer ends the frame, and what the frame then misses is a gap; a
    // pause costs one packet, not a tail sent twice.
    const long long silence = std::max<long long>(wait, mSettings.mTimeoutMs);
    const bool silent = seen - frame.LastAt() >= silence;
    const std::uint32_t trailer = frame.TrailerId();
    const bool probing = resend.mAsking && !frame.HasEnded() && trailer != 0;
    if (probing && silent && (resend.mProbeAt == FrameResend::Never || seen >= resend.mProbeAt + silence)) {
        resend.mProbeAt = seen;
        Ask(frame, trailer, trailer, seen);
    }
    if (resend.mAsking && seen >= resend.mRetryAt) {
        // Packets asked since the retry was set are asked again at the next
        // one: every packet waits at least the time-out for its answer.
        AskMissing(frame, 0, resend.mRetryUpTo, seen);
        const std::uint32_t asked = resend.mNext - 1;
        resend.mRetryAt = FrameResend::Never;
        if (frame.NextMissing(0, asked) <= asked) {
            resend.mRetryAt = seen + mSettings.mTimeoutMs;
            resend.mRetryUpTo = asked;
        }
    }
    if (!resend.mAsking) {
        return FrameResend::Never;
    }
    long long due = std::min(resend.mGapAt == FrameResend::Never ? FrameResend::Never : resend.mGapAt + wait,
                             resend.mRetryAt);
    if (probing) {
        // Then the frame's tail is overdue, or its trailer asked again.
        due = std::min(due, silent ? resend.mProbeAt + silence : frame.LastAt() + silence);
    }
    return due;
}

void ResendPlanner::AskMissing(Frame& frame, std::uint32_t first, std::uint32_t last, long long seen)
{
    for (std::uint32_t id = first; id <= last && frame.Resend().mAsking;) {
        id = frame.NextMissing(id, last);
        if (id > last) {
            break;
        }
        const std::uint32_t end = frame.NextArrived(id, last) - 1;
        Ask(frame, id, end, seen);
        id = end + 1;
    }
}

void ResendPlanner::Ask(Frame& frame, std::uint32_t first, std::uint32_t last, long long seen)
{
    FrameResend& resend = frame.Resend();
    const std::uint32_t cap =
        std::max<std::uint32_t>(1, static_cast<std::uint32_t>(std::uint64_t{frame.PacketCount()} *
                                                              mSettings.mFramePercent / 100));
    std::uint32_t count = std::min(last - first + 1, cap - std::min(cap, resend.mAsked));
    if (count != 0 && mSettings.mBudget != nullptr) {
        // What the budget refuses now is asked again at the retry.
        count = mSettings.mBudget->Take(count, seen);
    }
    if (count != 0) {
        const PacketResend request{frame.IsExtended(), Channel, frame.BlockId(), first, first + count - 1};
        mRequestId = mRequestId == 0xFFFF ? 1 : mRequestId + 1;
        const std::size_t size = EncodePacketResend(mRequestId, request, mCommand);
        if (size == 0) {
            // IDs a standard request cannot carry.
            GiveUp(frame);
            return;
        }
        if (mSender != nullptr && mSender->SendResend(mCommand.data(), size)) {
            ++mCounts.mResendRequests;
        }
        resend.mAsked += count;
    }
    if (resend.mAsked >= cap) {
        StopAsking(frame);
    }
}

}
