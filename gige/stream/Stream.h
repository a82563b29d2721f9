// A device's image stream (channel 0) behind the producer's DS operations:
// announced buffers, the queue, acquisition, the records of the acquisition
// event and the statistics. The producer's operations call it; it calls
// nothing of the producer but its StreamHost.
#pragma once

#include "TLI.h"
#include "stream/LinkShare.h"
#include "stream/ResendSettings.h"
#include "stream/StreamHost.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace Gige {

// How a stream receives; the defaults suit a camera on a link of its own.
struct StreamOptions {
    // Read the kernel's packet ring where the process may (Linux, CAP_NET_RAW);
    // false keeps to the UDP socket.
    bool mAllowPacketRing = true;
    // A frame that has ended (its trailer came, or a later frame began) and
    // still misses packets is handed over incomplete after nothing came for
    // it for this long.
    std::uint32_t mMissingPacketWaitMs = 5;
    // A frame that receives nothing for this long is handed over
    // incomplete; so is a frame that waits for packets asked again.
    std::uint32_t mFrameRetentionMs = 100;
    // Frames assembled at once (at least 2): a frame beyond them hands over
    // the oldest as it is.
    std::uint32_t mFramesInFlight = 4;
    // A packet size (SCPS) to use as it is; 0: the largest the path takes
    // whole, found with the camera's test packet at each start, else the
    // camera's own.
    std::uint32_t mPacketSize = 0;
    // An inter-packet delay (SCPD, in the camera's ticks) to use as it is;
    // none: the camera's share of the link.
    std::optional<std::uint32_t> mPacketDelay;
    // The cameras streaming through the same adapter; null: none shares.
    std::shared_ptr<LinkShare> mLink;
    // Resend, where the host wants it (mEnabled) and the camera announces it.
    ResendSettings mResend;
};

// What the leader said of the frame a filled buffer holds, and how much of
// it came: valid from the buffer's record until the buffer is queued again.
struct BufferInfo {
    std::uint64_t mBlockId = 0;
    // The leader came: the fields up to mPaddingY are its.
    bool mHasLeader = false;
    std::uint16_t mPayloadType = 0;
    std::uint64_t mTimestamp = 0;
    std::uint32_t mPixelFormat = 0;
    std::uint32_t mWidth = 0;
    std::uint32_t mHeight = 0;
    std::uint32_t mOffsetX = 0;
    std::uint32_t mOffsetY = 0;
    std::uint16_t mPaddingX = 0;
    std::uint16_t mPaddingY = 0;
    // Payload bytes placed in the buffer.
    std::uint64_t mFilledBytes = 0;
    // Packets of the frame (leader and trailer included) that never came.
    std::uint64_t mMissingPackets = 0;
};

class Stream {
public:
    // The host outlives the stream. The calls may come from any thread.
    explicit Stream(StreamHost& host, const StreamOptions& options = StreamOptions());
    // Stops acquisition (clearing the camera's stream destination) and ends
    // the receiver; never throws.
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // A buffer larger than the largest one announced when acquisition
    // started can be announced only once it stopped.
    GC_ERROR AnnounceBuffer(void* memory, std::size_t size, void* userData, BUFFER_HANDLE* handle);
    GC_ERROR RevokeBuffer(BUFFER_HANDLE handle, void** memory, void** userData);
    GC_ERROR QueueBuffer(BUFFER_HANDLE handle);
    // Settles the camera's packet size (SCPS) and its inter-packet delay
    // (SCPD), points its stream channel at a receiver of this host (SCDA,
    // SCP) and starts receiving; at most frames buffers are filled (all bits
    // set: no limit).
    GC_ERROR StartAcquisition(std::uint64_t frames);
    // Clears the camera's stream destination (SCP 0), gives back its share
    // of the link, ends receiving and hands every queued and filled buffer
    // back, dropping their records.
    GC_ERROR StopAcquisition();

    // The driver's event: set exactly while a record waits.
    GC_ERROR RegisterEvent(TLI_OS_EVENT event);
    void UnregisterEvent();
    // The next record: a filled buffer (0, or GC_ERR_INCOMPLETE_FRAME), or a
    // null handle with GC_ERR_DEVICE_LOST; GC_ERR_NO_DATA when none waits.
    GC_ERROR TakeRecord(BUFFER_HANDLE* handle);
    // What came with the frame of a buffer handed over by TakeRecord;
    // GC_ERR_NO_DATA for a buffer that was never filled.
    GC_ERROR GetBufferInfo(BUFFER_HANDLE handle, BufferInfo& info) const;
    // DSGetInfo's commands (TLI.h).
    GC_ERROR GetInfo(std::int32_t command, std::int32_t* type, void* buffer, std::size_t* size) const;
    // The device lost its camera: a GC_ERR_DEVICE_LOST record, and the
    // stream delivers nothing more.
    void DeviceLost();

    // The producer's error text of the last failure of this stream's calls,
    // or the warning of the last start (a receive buffer below a frame).
    std::string LastError() const;
    // Processor time the receiving thread used in the acquisitions that
    // ended: what the frames cost the host.
    std::uint64_t ReceiverProcessorNanoseconds() const;

private:
    struct State;
    std::unique_ptr<State> mState;
};

}
