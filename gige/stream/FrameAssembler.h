// The frames in flight: each stream packet goes to its frame, frames take
// their buffers from the queue as they begin and are handed over in the
// order they began, complete or, once their time is up, incomplete.
//
// One thread (the receiver's) uses it. It allocates only when made, so no
// packet costs an allocation, a lock or a system call; a frame that begins
// or ends takes the stream's lock once.
//
// Service is where resend asks for the missing ranges of the frames in
// flight (ResendPlanner); the frames it holds for their answers are handed
// over in order like the others.
#pragma once

#include "stream/BufferExchange.h"
#include "stream/Frame.h"
#include "stream/ResendPlanner.h"
#include "stream/StreamCounters.h"
#include "stream/StreamPacket.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace Gige {

class FrameAssembler {
public:
    struct Settings {
        // SCPS's packet size field: the whole IP datagram.
        std::uint32_t mPacketSize = 0;
        // The largest buffer a frame may get.
        std::size_t mLargestBuffer = 0;
        std::uint32_t mFramesInFlight = 4;
        std::uint32_t mMissingPacketWaitMs = 5;
        std::uint32_t mFrameRetentionMs = 100;
        ResendSettings mResend;
    };

    // The sender (null: resend asks nothing) outlives the assembler.
    FrameAssembler(BufferExchange& buffers, StreamCounters& counters, const Settings& settings,
                   ResendSender* resendSender = nullptr);

    // The frames in flight for the number asked (from 2 to 64).
    static std::uint32_t FramesInFlight(std::uint32_t asked);

    // No frame is in flight: nothing is due.
    static constexpr long long NoDeadline = std::numeric_limits<long long>::max();

    // The time the packets accepted next were taken from the system (at
    // the latest when they came).
    void SetNow(long long now) { mNow = now; }
    // The size of the stream packets' headers: what the camera sent last.
    std::size_t ExpectedHeaderSize() const;
    // The places of the payload packets expected next, up to count, in the
    // newest frame; the number of slots filled.
    std::size_t Predict(PayloadSlot* slots, std::size_t count) const;
    void Accept(const StreamPacket& packet);
    // The newest frame is coming in: more of its packets are due at once.
    bool IsReceiving() const;
    // A datagram from the camera that is no stream packet: shorter than its
    // header, or longer than any packet of the stream.
    void CountMalformed() { ++mCounts.mPacketsOutOfRange; }
    // Hands over the frames that are over, in the order they began: those
    // complete, and those whose time was up by seen, the time up to which
    // every packet that came has been accepted (a frame is given up only
    // for a silence the receiver saw, never while its packets wait unread).
    // Then asks for the packets the frames in flight miss. Answers when the
    // next frame or request is due, or NoDeadline.
    long long Service(long long seen);

private:
    struct BlockKey {
        std::uint64_t mId = 0;
        bool mExtended = false;
        std::uint32_t mTrailerId = 0; // of a frame handed over, when it was known
    };

    Frame* Find(const GvspHeader& header);
    // The frame's buffer, or nullptr when the frame is dropped.
    Frame* Begin(const GvspHeader& header);
    void HandOver();
    bool IsPlausibleStart(const StreamPacket& packet) const;
    // A block the camera could send next: a leader of any block (a camera
    // that restarted begins its block IDs anew), another packet only of a
    // block shortly after the newest begun (one whose leader was lost).
    bool MayBegin(const GvspHeader& header) const;
    // Frames handed over or dropped lately: their late packets are dropped.
    const BlockKey* FindRecent(const GvspHeader& header) const;
    void Remember(std::uint64_t blockId, bool extended, std::uint32_t trailerId = 0);

    BufferExchange& mBuffers;
    StreamCounters& mCounters;
    Settings mSettings;
    std::uint32_t mBytesPerPacket = 0;
    std::uint32_t mExtendedBytesPerPacket = 0;
    std::vector<Frame> mFrames;
    // Frames in flight, oldest first, and the idle ones.
    std::vector<Frame*> mInFlight;
    std::vector<Frame*> mIdle;
    std::array<BlockKey, 16> mRecent{};
    std::size_t mRecentNext = 0;
    BlockKey mNewest;
    bool mHasNewest = false;
    ReceiveCounts mCounts;
    ResendPlanner mResend;
    bool mExtendedSeen = false;
    long long mNow = 0;
};

}
