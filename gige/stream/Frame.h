// One frame in flight: the buffer its packets go to, which of them came,
// how many the frame has, and when it is to be handed over.
//
// A frame has a leader (packet 0), payload packets 1..N and a trailer
// (N+1). Every payload packet but the last carries the stream's bytes per
// packet, so packet k lands at (k-1) times that in the buffer. N is taken
// from the leader's image size and, once it comes, from the trailer; until
// then from the buffer's size.
//
// The bitmap is where resend looks for the ranges to ask for.
#pragma once

#include "stream/BufferExchange.h"
#include "stream/FrameResend.h"
#include "stream/PacketBitmap.h"
#include "stream/Stream.h"
#include "stream/StreamPacket.h"
#include "wire/ImageLeader.h"

#include <cstddef>
#include <cstdint>

namespace Gige {

class Frame {
public:
    enum class Verdict {
        Placed,
        Duplicate,
        Refused,   // its ID or size does not fit the frame or the buffer, or it is malformed
    };

    // Room for the payload packets of the largest frame of an acquisition:
    // the one allocation, before the first frame.
    void Reserve(std::size_t payloadPackets);

    void Begin(std::uint64_t blockId, bool extended, const FrameBuffer& buffer, std::uint32_t bytesPerPacket,
               long long now);
    std::uint64_t BlockId() const { return mBlockId; }
    bool IsExtended() const { return mExtended; }
    const FrameBuffer& Buffer() const { return mBuffer; }

    // The packet's header says it belongs to this frame.
    Verdict AddLeader(const StreamPacket& packet);
    Verdict AddTrailer(const StreamPacket& packet);
    Verdict AddPayload(const StreamPacket& packet);
    // Something came for the frame.
    void Touch(long long now) { mLastAt = now; }
    // A later frame began: the camera sent all of this one it will send.
    void End() { mEnded = true; }
    bool HasEnded() const { return mEnded; }

    bool IsComplete() const;
    // When the frame is handed over as it is, unless complete before: an
    // ended frame after the missing-packet wait, or its resend's hold.
    long long Deadline(std::uint32_t missingWaitMs, std::uint32_t retentionMs) const;

    // For resend, in the numbering of FrameResend (leader 0, trailer N+1).
    FrameResend& Resend() { return mResend; }
    long long LastAt() const { return mLastAt; }
    // What came contradicts itself or overflows the buffer: asking for more
    // cannot mend it.
    bool IsDamaged() const { return mDamaged; }
    // The first packet missing among first..last, or last+1.
    std::uint32_t NextMissing(std::uint32_t first, std::uint32_t last) const;
    // The first packet that came among first..last, or last+1.
    std::uint32_t NextArrived(std::uint32_t first, std::uint32_t last) const;
    // The last packet known to be overdue, or -1: those a later packet
    // overtook, and all of the frame once it ended.
    long long OverdueLimit() const;
    // The trailer's ID, or 0 while the packet count is not known.
    std::uint32_t TrailerId() const { return mPayloadCount == 0 ? 0 : mPayloadCount + 1; }
    // Packets of the frame, leader and trailer included, as far as known.
    std::uint32_t PacketCount() const;
    // The places of the payload packets expected next, up to count; the
    // number of slots filled.
    std::size_t Predict(PayloadSlot* slots, std::size_t count) const;
    BufferInfo Report() const;

private:
    // The payload packets the frame has, as far as known, within the buffer.
    std::uint32_t PayloadLimit() const;
    // What the leader says the payload holds, in bytes; 0 when it cannot tell.
    std::uint64_t LeaderPayloadBytes() const;
    // A packet count from the leader or the trailer; false when what came
    // before contradicts it.
    bool AgreesWithCount(std::uint32_t count) const;

    PacketBitmap mArrived;
    FrameBuffer mBuffer;
    std::uint64_t mBlockId = 0;
    bool mExtended = false;
    std::uint32_t mBytesPerPacket = 0;
    // Payload packets the buffer can hold.
    std::uint32_t mCapacity = 0;
    // Payload packets of the frame, 0 until the leader or the trailer tells.
    std::uint32_t mPayloadCount = 0;
    // The payload's bytes when the leader tells them: then every packet's
    // size is known exactly.
    std::uint64_t mPayloadBytes = 0;
    std::uint32_t mReceived = 0;
    std::uint32_t mHighest = 0;
    // The one payload packet shorter than the others, taken before the
    // frame's packet count was known: it must turn out to be the last.
    std::uint32_t mShortId = 0;
    bool mLeaderCame = false;
    bool mTrailerCame = false;
    bool mHasImageLeader = false;
    // What came contradicts itself, or the frame is larger than the buffer.
    bool mDamaged = false;
    bool mEnded = false;
    ImageLeader mLeader{};
    std::uint64_t mFilledBytes = 0;
    long long mLastAt = 0;
    FrameResend mResend;

    bool Came(std::uint32_t id) const;
};

}
