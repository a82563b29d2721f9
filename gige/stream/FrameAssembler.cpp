#include "stream/FrameAssembler.h"

#include "wire/GvcpStatus.h"
#include "wire/StreamLayout.h"

#include <algorithm>
#include <limits>

namespace Gige {

namespace {

constexpr std::uint32_t MinFramesInFlight = 2;
constexpr std::uint32_t MaxFramesInFlight = 64;
// Standard block IDs run from 1 to 65535 and on from 1 again.
constexpr std::uint64_t StandardBlockIds = 0xFFFF;
// A frame whose leader was lost begins with a later packet when its block
// follows the newest one by at most this many: whole frames lost between
// them. A packet of a block further off belongs to no frame of this camera.
constexpr std::uint64_t MaxBlocksAhead = 64;

}

FrameAssembler::FrameAssembler(BufferExchange& buffers, StreamCounters& counters, const Settings& settings,
                               ResendSender* resendSender)
    : mBuffers(buffers), mCounters(counters), mSettings(settings), mResend(settings.mResend, resendSender, mCounts)
{
    mSettings.mFramesInFlight = FramesInFlight(mSettings.mFramesInFlight);
    mBytesPerPacket = PayloadBytesPerPacket(settings.mPacketSize, false);
    mExtendedBytesPerPacket = PayloadBytesPerPacket(settings.mPacketSize, true);
    // Extended headers leave the least payload per packet, so the most packets.
    const std::uint64_t mostPackets = PayloadPacketCount(settings.mLargestBuffer, mExtendedBytesPerPacket);
    mFrames.resize(mSettings.mFramesInFlight);
    for (Frame& frame : mFrames) {
        frame.Reserve(static_cast<std::size_t>(mostPackets));
        mIdle.push_back(&frame);
    }
    mInFlight.reserve(mFrames.size());
}

std::uint32_t FrameAssembler::FramesInFlight(std::uint32_t asked)
{
    return std::clamp(asked, MinFramesInFlight, MaxFramesInFlight);
}

std::size_t FrameAssembler::ExpectedHeaderSize() const
{
    return mExtendedSeen ? GvspExtendedHeaderSize : GvspHeaderSize;
}

std::size_t FrameAssembler::Predict(PayloadSlot* slots, std::size_t count) const
{
    return mInFlight.empty() ? 0 : mInFlight.back()->Predict(slots, count);
}

bool FrameAssembler::IsReceiving() const
{
    return !mInFlight.empty() && !mInFlight.back()->HasEnded();
}

Frame* FrameAssembler::Find(const GvspHeader& header)
{
    // The newest frame first: nearly every packet is its.
    for (auto it = mInFlight.rbegin(); it != mInFlight.rend(); ++it) {
        if ((*it)->BlockId() == header.mBlockId && (*it)->IsExtended() == header.mExtended) {
            return *it;
        }
    }
    return nullptr;
}

const FrameAssembler::BlockKey* FrameAssembler::FindRecent(const GvspHeader& header) const
{
    const auto recent = std::find_if(mRecent.begin(), mRecent.end(), [&header](const BlockKey& key) {
        return key.mId == header.mBlockId && key.mExtended == header.mExtended;
    });
    return recent == mRecent.end() ? nullptr : &*recent;
}

void FrameAssembler::Remember(std::uint64_t blockId, bool extended, std::uint32_t trailerId)
{
    mRecent[mRecentNext] = BlockKey{blockId, extended, trailerId};
    mRecentNext = (mRecentNext + 1) % mRecent.size();
}

bool FrameAssembler::MayBegin(const GvspHeader& header) const
{
    if (header.mFormat == GvspFormat::Leader || !mHasNewest || mNewest.mExtended != header.mExtended) {
        return true;
    }
    const std::uint64_t ahead = header.mExtended
                                    ? header.mBlockId - mNewest.mId
                                    : (header.mBlockId + StandardBlockIds - mNewest.mId) % StandardBlockIds;
    return ahead >= 1 && ahead <= MaxBlocksAhead;
}

bool FrameAssembler::IsPlausibleStart(const StreamPacket& packet) const
{
    // A packet no frame could take begins none (and takes no buffer).
    const GvspHeader& header = packet.mHeader;
    switch (header.mFormat) {
    case GvspFormat::Leader:
        return header.mPacketId == 0;
    case GvspFormat::Trailer:
        return header.mPacketId >= 2;
    case GvspFormat::Payload:
        return header.mPacketId != 0 && packet.mBodySize != 0 &&
               packet.mBodySize <= (header.mExtended ? mExtendedBytesPerPacket : mBytesPerPacket);
    default:
        return false;
    }
}

Frame* FrameAssembler::Begin(const GvspHeader& header)
{
    mNewest = BlockKey{header.mBlockId, header.mExtended};
    mHasNewest = true;
    if (mIdle.empty()) {
        HandOver();
    }
    FrameBuffer buffer;
    switch (mBuffers.TakeQueued(buffer)) {
    case BufferExchange::Take::Taken:
        break;
    case BufferExchange::Take::NoneQueued:
        ++mCounts.mUnderruns;
        Remember(header.mBlockId, header.mExtended);
        return nullptr;
    case BufferExchange::Take::NotWanted:
        Remember(header.mBlockId, header.mExtended);
        return nullptr;
    }
    // The camera sends frame after frame: what the older ones still miss
    // comes only by chance (reordering) or on request.
    for (Frame* older : mInFlight) {
        older->End();
    }
    Frame* frame = mIdle.back();
    mIdle.pop_back();
    frame->Begin(header.mBlockId, header.mExtended, buffer,
                 header.mExtended ? mExtendedBytesPerPacket : mBytesPerPacket, mNow);
    mResend.Begin(*frame, mSettings.mFrameRetentionMs);
    mInFlight.push_back(frame);
    return frame;
}

void FrameAssembler::Accept(const StreamPacket& packet)
{
    const GvspHeader& header = packet.mHeader;
    mExtendedSeen = header.mExtended;
    // Block 0 is no frame.
    if (header.mBlockId == 0) {
        ++mCounts.mPacketsOutOfRange;
        return;
    }
    // The camera's answer to a request for packets it no longer has.
    if (PacketIsGone(header.mStatus)) {
        if (Frame* gone = Find(header)) {
            ResendPlanner::GiveUp(*gone);
        }
        return;
    }
    // A packet with another error status carries nothing.
    if (header.mStatus != GvcpStatus::Success && header.mStatus != GvcpStatus::PacketResend) {
        ++mCounts.mPacketsOutOfRange;
        return;
    }
    const bool resent = IsResent(header);
    if (resent) {
        ++mCounts.mPacketsResent;
    }
    Frame* frame = Find(header);
    if (frame == nullptr) {
        // A packet sent again for a frame not in flight is dropped, and so
        // is a late packet of a frame handed over, unless that frame could
        // never have held it; a new leader of a recent block ID is a camera
        // that began its block IDs anew.
        if (resent) {
            return;
        }
        const BlockKey* recent = header.mFormat == GvspFormat::Leader ? nullptr : FindRecent(header);
        if (recent != nullptr) {
            if (!IsPlausibleStart(packet) || (recent->mTrailerId != 0 && header.mPacketId > recent->mTrailerId)) {
                ++mCounts.mPacketsOutOfRange;
            }
            return;
        }
        if (!IsPlausibleStart(packet) || !MayBegin(header)) {
            ++mCounts.mPacketsOutOfRange;
            return;
        }
        frame = Begin(header);
        if (frame == nullptr) {
            return;
        }
    }
    Frame::Verdict verdict = Frame::Verdict::Refused;
    switch (header.mFormat) {
    case GvspFormat::Leader:
        verdict = frame->AddLeader(packet);
        break;
    case GvspFormat::Trailer:
        verdict = frame->AddTrailer(packet);
        break;
    case GvspFormat::Payload:
        verdict = frame->AddPayload(packet);
        break;
    default:
        break;
    }
    switch (verdict) {
    case Frame::Verdict::Placed:
        ++mCounts.mPacketsReceived;
        frame->Touch(mNow);
        break;
    case Frame::Verdict::Duplicate:
        frame->Touch(mNow);
        break;
    case Frame::Verdict::Refused:
        ++mCounts.mPacketsOutOfRange;
        break;
    }
}

void FrameAssembler::HandOver()
{
    Frame* frame = mInFlight.front();
    mInFlight.erase(mInFlight.begin());
    mIdle.push_back(frame);
    const BufferInfo info = frame->Report();
    const bool complete = frame->IsComplete();
    ++(complete ? mCounts.mDelivered : mCounts.mIncomplete);
    mCounts.mPacketsMissing += info.mMissingPackets;
    Remember(frame->BlockId(), frame->IsExtended(), frame->TrailerId());
    // The counts include the frame before its record can be taken.
    mCounters.Add(mCounts);
    const GC_ERROR code = complete ? GC_ERROR{GC_ERR_SUCCESS} : GC_ERROR{GC_ERR_INCOMPLETE_FRAME};
    mBuffers.Deliver(frame->Buffer(), info, code);
}

long long FrameAssembler::Service(long long seen)
{
    const std::uint32_t wait = mSettings.mMissingPacketWaitMs;
    const std::uint32_t retention = mSettings.mFrameRetentionMs;
    while (!mInFlight.empty()) {
        const Frame& oldest = *mInFlight.front();
        if (!oldest.IsComplete() && oldest.Deadline(wait, retention) > seen) {
            break;
        }
        HandOver();
    }
    long long due = NoDeadline;
    for (Frame* frame : mInFlight) {
        due = std::min(due, mResend.Service(*frame, seen));
    }
    mCounters.Add(mCounts);
    return mInFlight.empty() ? NoDeadline : std::min(due, mInFlight.front()->Deadline(wait, retention));
}

}
