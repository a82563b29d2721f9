// What a Stream holds: its buffers and who has each, the queue, the
// records and the event, the acquisition's receiver and the texts and
// counts DSGetInfo answers. The receiver reaches it as its BufferExchange.
#pragma once

#include "stream/BufferExchange.h"
#include "stream/Receiver.h"
#include "stream/Stream.h"
#include "stream/StreamCounters.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace Gige {

struct StreamBuffer {
    // Who has the buffer: the host, the queue, a frame being received into
    // it, or a record waiting.
    enum class Holder { Host, Queue, Frame, Record };

    std::uint8_t* mMemory = nullptr;
    std::size_t mSize = 0;
    void* mUserData = nullptr;
    Holder mHolder = Holder::Host;
    bool mFilled = false;
    BufferInfo mInfo;
};

struct StreamRecord {
    BUFFER_HANDLE mBuffer;
    GC_ERROR mCode;
};

struct Stream::State final : BufferExchange {
    State(StreamHost& host, const StreamOptions& options) : mHost(host), mOptions(options) {}

    Take TakeQueued(FrameBuffer& buffer) override;
    void Deliver(const FrameBuffer& buffer, const BufferInfo& info, GC_ERROR code) override;
    void ReceivingFailed(const std::string& reason) override;

    // With mLock held.
    StreamBuffer* Find(BUFFER_HANDLE handle);
    GC_ERROR FailLocked(GC_ERROR code, std::string text);
    void AddRecordLocked(BUFFER_HANDLE buffer, GC_ERROR code);
    // Every buffer back to the host, every record dropped.
    void FlushLocked();

    GC_ERROR Fail(GC_ERROR code, std::string text);
    // With mControl held.
    GC_ERROR Start(std::uint64_t frames);
    GC_ERROR Stop();
    // The packet size of options, or the largest the path takes; scps
    // becomes what the camera then has.
    GC_ERROR SettlePacketSize(std::uint32_t& scps);
    // The camera paced for its share of the link, or as options say, and back.
    void JoinLink(std::uint32_t packetSize);
    void LeaveLink();

    StreamHost& mHost;
    const StreamOptions mOptions;

    // Start, stop and the end of the stream, one at a time. They access the
    // camera's registers and wait for the receiver's end, so they hold
    // mLock only in between: the receiver takes it for each frame.
    std::mutex mControl;
    std::unique_ptr<Receiver> mReceiver;
    // The camera is among those of mOptions.mLink.
    bool mSharesLink = false;

    mutable std::mutex mLock;
    std::unordered_map<BUFFER_HANDLE, std::unique_ptr<StreamBuffer>> mBuffers;
    std::deque<StreamBuffer*> mQueue;
    std::deque<StreamRecord> mRecords;
    bool mHasEvent = false;
    TLI_OS_EVENT mEvent{};
    bool mAcquiring = false;
    bool mLost = false;
    std::uint64_t mFramesLeft = 0;
    // The largest buffer the running acquisition was sized for.
    std::size_t mPlannedBuffer = 0;
    std::string mLastError;
    std::string mReceivePath = "not receiving: acquisition has not started";
    std::string mReceiveFailure;
    std::uint64_t mReceiveBuffer = 0;
    std::uint64_t mPacketSize = 0;

    StreamCounters mCounters;
    std::atomic<std::uint64_t> mReceiverNanoseconds{0};
};

}
