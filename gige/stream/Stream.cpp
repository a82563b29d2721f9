#include "stream/Stream.h"

#include "os/Event.h"
#include "stream/BufferExchange.h"
#include "stream/FrameAssembler.h"
#include "stream/InfoAnswer.h"
#include "stream/ReceivePath.h"
#include "stream/Receiver.h"
#include "stream/StreamCounters.h"
#include "wire/Bootstrap.h"
#include "wire/StreamLayout.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <mutex>
#include <system_error>
#include <unordered_map>

namespace Gige {

namespace {

constexpr std::uint32_t Channel = 0;
constexpr std::uint64_t NoLimit = ~std::uint64_t{0};

std::string Hex(std::uint32_t value)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) {
        text += digits[value >> shift & 0xF];
    }
    return text;
}

std::string RegisterFailure(const char* what, std::uint32_t address, GC_ERROR code)
{
    return std::string("cannot ") + what + " (" + Hex(address) + "): error " + std::to_string(code);
}

struct Buffer {
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

struct Record {
    BUFFER_HANDLE mBuffer;
    GC_ERROR mCode;
};

}

struct Stream::State final : BufferExchange {
    State(StreamHost& host, const StreamOptions& options) : mHost(host), mOptions(options) {}

    Take TakeQueued(FrameBuffer& buffer) override;
    void Deliver(const FrameBuffer& buffer, const BufferInfo& info, GC_ERROR code) override;
    void ReceivingFailed(const std::string& reason) override;

    // With mLock held.
    Buffer* Find(BUFFER_HANDLE handle);
    GC_ERROR FailLocked(GC_ERROR code, std::string text);
    void AddRecordLocked(BUFFER_HANDLE buffer, GC_ERROR code);
    // Every buffer back to the host, every record dropped.
    void FlushLocked();

    GC_ERROR Fail(GC_ERROR code, std::string text);
    // With mControl held.
    GC_ERROR Start(std::uint64_t frames);
    GC_ERROR Stop();

    StreamHost& mHost;
    const StreamOptions mOptions;

    // Start, stop and the end of the stream, one at a time. They access the
    // camera's registers and wait for the receiver's end, so they hold
    // mLock only in between: the receiver takes it for each frame.
    std::mutex mControl;
    std::unique_ptr<Receiver> mReceiver;

    mutable std::mutex mLock;
    std::unordered_map<BUFFER_HANDLE, std::unique_ptr<Buffer>> mBuffers;
    std::deque<Buffer*> mQueue;
    std::deque<Record> mRecords;
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

Buffer* Stream::State::Find(BUFFER_HANDLE handle)
{
    const auto found = mBuffers.find(handle);
    return found == mBuffers.end() ? nullptr : found->second.get();
}

GC_ERROR Stream::State::FailLocked(GC_ERROR code, std::string text)
{
    mLastError = std::move(text);
    return code;
}

GC_ERROR Stream::State::Fail(GC_ERROR code, std::string text)
{
    std::lock_guard<std::mutex> lock(mLock);
    return FailLocked(code, std::move(text));
}

void Stream::State::AddRecordLocked(BUFFER_HANDLE buffer, GC_ERROR code)
{
    mRecords.push_back(Record{buffer, code});
    // The event is signalled exactly while a record waits.
    if (mRecords.size() == 1 && mHasEvent) {
        Os::SetNativeEvent(mEvent);
    }
}

void Stream::State::FlushLocked()
{
    mQueue.clear();
    mRecords.clear();
    for (auto& entry : mBuffers) {
        entry.second->mHolder = Buffer::Holder::Host;
    }
    if (mHasEvent) {
        Os::ResetNativeEvent(mEvent);
    }
}

BufferExchange::Take Stream::State::TakeQueued(FrameBuffer& buffer)
{
    std::lock_guard<std::mutex> lock(mLock);
    if (mLost || mFramesLeft == 0) {
        return Take::NotWanted;
    }
    if (mQueue.empty()) {
        return Take::NoneQueued;
    }
    Buffer* taken = mQueue.front();
    mQueue.pop_front();
    taken->mHolder = Buffer::Holder::Frame;
    if (mFramesLeft != NoLimit) {
        --mFramesLeft;
    }
    buffer = FrameBuffer{taken, taken->mMemory, taken->mSize};
    return Take::Taken;
}

void Stream::State::Deliver(const FrameBuffer& buffer, const BufferInfo& info, GC_ERROR code)
{
    std::lock_guard<std::mutex> lock(mLock);
    Buffer* filled = Find(buffer.mHandle);
    // After the camera was lost nothing more is delivered; the buffer
    // comes back when acquisition stops.
    if (filled == nullptr || filled->mHolder != Buffer::Holder::Frame || mLost) {
        return;
    }
    filled->mHolder = Buffer::Holder::Record;
    filled->mFilled = true;
    filled->mInfo = info;
    AddRecordLocked(buffer.mHandle, code);
}

void Stream::State::ReceivingFailed(const std::string& reason)
{
    std::lock_guard<std::mutex> lock(mLock);
    mReceiveFailure = reason;
}

GC_ERROR Stream::State::Start(std::uint64_t frames)
{
    std::size_t largest = 0;
    {
        std::lock_guard<std::mutex> lock(mLock);
        if (mAcquiring) {
            return FailLocked(GC_ERR_ACCESS_DENIED, "acquisition runs already");
        }
        if (frames == 0) {
            return FailLocked(GC_ERR_INVALID_PARAMETER, "no frames to acquire");
        }
        if (mLost) {
            return FailLocked(GC_ERR_DEVICE_LOST, "the camera was lost");
        }
        for (const auto& entry : mBuffers) {
            largest = std::max(largest, entry.second->mSize);
        }
        if (largest == 0) {
            return FailLocked(GC_ERR_ACCESS_DENIED, "no buffer announced: announce buffers before acquisition starts");
        }
    }

    // The driver may change the packet size after the stream was made: it
    // is read now, and everything is sized for it before the first frame.
    std::uint32_t scps = 0;
    const GC_ERROR readCode = mHost.ReadRegister(Bootstrap::Scps(Channel), scps);
    if (readCode != GC_ERR_SUCCESS) {
        return Fail(readCode, RegisterFailure("read the stream packet size SCPS", Bootstrap::Scps(Channel), readCode));
    }
    const std::uint32_t packetSize = scps & Bootstrap::ScpsPacketSizeMask;
    if (PayloadBytesPerPacket(scps, true) == 0) {
        return Fail(GC_ERR_INVALID_PARAMETER, "the camera's stream packet size of " + std::to_string(packetSize) +
                                                  " bytes (SCPS) leaves no room for payload");
    }
    const unsigned mtu = mHost.InterfaceMtu();
    if (mtu != 0 && packetSize > mtu) {
        // The camera would have its packets fragmented, or dropped where it
        // may not fragment them.
        return Fail(GC_ERR_INVALID_PARAMETER, "the camera's stream packet size of " + std::to_string(packetSize) +
                                                  " bytes (SCPS) exceeds the MTU of " + std::to_string(mtu) +
                                                  " bytes of " + mHost.InterfaceName() +
                                                  ": lower the packet size or raise the adapter's MTU");
    }

    ReceiveRequest request;
    request.mHost = mHost.HostAddress();
    request.mInterfaceName = mHost.InterfaceName();
    request.mCamera = mHost.CameraAddress();
    request.mPacketSize = packetSize;
    request.mLargestBuffer = largest;
    request.mAllowPacketRing = mOptions.mAllowPacketRing;
    ReceivePath path;
    std::string error;
    if (!OpenReceivePath(request, path, error)) {
        return Fail(GC_ERR_ERROR, error);
    }
    FrameAssembler::Settings settings;
    settings.mPacketSize = packetSize;
    settings.mLargestBuffer = largest;
    settings.mFramesInFlight = mOptions.mFramesInFlight;
    settings.mMissingPacketWaitMs = mOptions.mMissingPacketWaitMs;
    settings.mFrameRetentionMs = mOptions.mFrameRetentionMs;
    {
        std::lock_guard<std::mutex> lock(mLock);
        mAcquiring = true;
        mFramesLeft = frames;
        mPlannedBuffer = largest;
        mReceivePath = path.mDescription;
        mReceiveFailure.clear();
        mReceiveBuffer = path.mReceiveBuffer;
        mPacketSize = packetSize;
    }
    try {
        mReceiver = std::make_unique<Receiver>(std::move(path.mSource),
                                               std::make_unique<FrameAssembler>(*this, mCounters, settings), *this);
    } catch (const std::exception& failure) {
        std::lock_guard<std::mutex> lock(mLock);
        mAcquiring = false;
        return FailLocked(GC_ERR_ERROR, std::string("cannot start the stream's receiving thread: ") + failure.what());
    }

    // The receiver is ready for the first packet before the camera may send it.
    GC_ERROR code = mHost.WriteRegister(Bootstrap::Scda(Channel), request.mHost.Value());
    if (code != GC_ERR_SUCCESS) {
        error = RegisterFailure("write the stream destination SCDA", Bootstrap::Scda(Channel), code);
    } else {
        // Direction and interface bits 0: the channel sends, by the camera's first interface.
        code = mHost.WriteRegister(Bootstrap::Scp(Channel), path.mPort);
        if (code != GC_ERR_SUCCESS) {
            error = RegisterFailure("write the stream port SCP", Bootstrap::Scp(Channel), code);
        }
    }
    if (code != GC_ERR_SUCCESS) {
        // A write that timed out may have reached the camera all the same.
        mHost.WriteRegister(Bootstrap::Scp(Channel), 0);
        mReceiverNanoseconds += mReceiver->Stop();
        mReceiver.reset();
        std::lock_guard<std::mutex> lock(mLock);
        FlushLocked();
        mAcquiring = false;
        return FailLocked(code, error);
    }
    if (!path.mWarning.empty()) {
        std::lock_guard<std::mutex> lock(mLock);
        mLastError = path.mWarning;
    }
    return GC_ERR_SUCCESS;
}

GC_ERROR Stream::State::Stop()
{
    GC_ERROR code = GC_ERR_SUCCESS;
    std::string error;
    if (mReceiver != nullptr) {
        bool lost = false;
        {
            std::lock_guard<std::mutex> lock(mLock);
            lost = mLost;
        }
        // A lost camera hears nothing: no write waits for its time-out.
        if (!lost && !mHost.IsLost()) {
            code = mHost.WriteRegister(Bootstrap::Scp(Channel), 0);
            if (code != GC_ERR_SUCCESS) {
                error = "acquisition stopped, but " +
                        RegisterFailure("clear the stream port SCP", Bootstrap::Scp(Channel), code);
            }
        }
        mReceiverNanoseconds += mReceiver->Stop();
        mReceiver.reset();
    }
    std::lock_guard<std::mutex> lock(mLock);
    FlushLocked();
    mAcquiring = false;
    return code == GC_ERR_SUCCESS ? code : FailLocked(code, error);
}

Stream::Stream(StreamHost& host, const StreamOptions& options) : mState(std::make_unique<State>(host, options))
{
}

Stream::~Stream()
{
    try {
        std::lock_guard<std::mutex> control(mState->mControl);
        mState->Stop();
    } catch (...) {
        // A destructor ends what it can; the receiver's own end never throws.
    }
}

GC_ERROR Stream::AnnounceBuffer(void* memory, std::size_t size, void* userData, BUFFER_HANDLE* handle)
{
    State& state = *mState;
    std::lock_guard<std::mutex> lock(state.mLock);
    if (memory == nullptr || size == 0 || handle == nullptr) {
        return state.FailLocked(GC_ERR_INVALID_PARAMETER, "a buffer needs memory, a size and a place for its handle");
    }
    if (state.mAcquiring && size > state.mPlannedBuffer) {
        return state.FailLocked(GC_ERR_ACCESS_DENIED,
                                "a buffer of " + std::to_string(size) + " bytes is larger than the " +
                                    std::to_string(state.mPlannedBuffer) +
                                    " bytes the running acquisition was sized for: announce it after it stops");
    }
    auto buffer = std::make_unique<Buffer>();
    buffer->mMemory = static_cast<std::uint8_t*>(memory);
    buffer->mSize = size;
    buffer->mUserData = userData;
    BUFFER_HANDLE created = buffer.get();
    state.mBuffers.emplace(created, std::move(buffer));
    *handle = created;
    return GC_ERR_SUCCESS;
}

GC_ERROR Stream::RevokeBuffer(BUFFER_HANDLE handle, void** memory, void** userData)
{
    State& state = *mState;
    std::lock_guard<std::mutex> lock(state.mLock);
    Buffer* buffer = state.Find(handle);
    if (buffer == nullptr) {
        return state.FailLocked(GC_ERR_INVALID_HANDLE, "no such buffer");
    }
    // A running acquisition may write into a queued buffer at any moment.
    if (state.mAcquiring && buffer->mHolder != Buffer::Holder::Host) {
        return state.FailLocked(GC_ERR_ACCESS_DENIED, "the buffer is with the stream while acquisition runs");
    }
    state.mQueue.erase(std::remove(state.mQueue.begin(), state.mQueue.end(), buffer), state.mQueue.end());
    if (memory != nullptr) {
        *memory = buffer->mMemory;
    }
    if (userData != nullptr) {
        *userData = buffer->mUserData;
    }
    state.mBuffers.erase(handle);
    return GC_ERR_SUCCESS;
}

GC_ERROR Stream::QueueBuffer(BUFFER_HANDLE handle)
{
    State& state = *mState;
    std::lock_guard<std::mutex> lock(state.mLock);
    Buffer* buffer = state.Find(handle);
    if (buffer == nullptr) {
        return state.FailLocked(GC_ERR_INVALID_HANDLE, "no such buffer");
    }
    if (buffer->mHolder != Buffer::Holder::Host) {
        return state.FailLocked(GC_ERR_ACCESS_DENIED, "the buffer is queued already, or its record was not taken");
    }
    state.mQueue.push_back(buffer);
    buffer->mHolder = Buffer::Holder::Queue;
    buffer->mFilled = false;
    return GC_ERR_SUCCESS;
}

GC_ERROR Stream::StartAcquisition(std::uint64_t frames)
{
    std::lock_guard<std::mutex> control(mState->mControl);
    return mState->Start(frames);
}

GC_ERROR Stream::StopAcquisition()
{
    std::lock_guard<std::mutex> control(mState->mControl);
    return mState->Stop();
}

GC_ERROR Stream::RegisterEvent(TLI_OS_EVENT event)
{
    State& state = *mState;
    std::lock_guard<std::mutex> lock(state.mLock);
    if (state.mHasEvent) {
        return state.FailLocked(GC_ERR_ACCESS_DENIED, "an event is registered already");
    }
    state.mHasEvent = true;
    state.mEvent = event;
    if (state.mRecords.empty()) {
        Os::ResetNativeEvent(event);
    } else {
        Os::SetNativeEvent(event);
    }
    return GC_ERR_SUCCESS;
}

void Stream::UnregisterEvent()
{
    std::lock_guard<std::mutex> lock(mState->mLock);
    mState->mHasEvent = false;
}

GC_ERROR Stream::TakeRecord(BUFFER_HANDLE* handle)
{
    State& state = *mState;
    std::lock_guard<std::mutex> lock(state.mLock);
    if (handle == nullptr) {
        return state.FailLocked(GC_ERR_INVALID_PARAMETER, "no place for the buffer handle");
    }
    if (state.mRecords.empty()) {
        return GC_ERR_NO_DATA;
    }
    const Record record = state.mRecords.front();
    state.mRecords.pop_front();
    if (Buffer* buffer = state.Find(record.mBuffer)) {
        buffer->mHolder = Buffer::Holder::Host;
    }
    if (state.mRecords.empty() && state.mHasEvent) {
        Os::ResetNativeEvent(state.mEvent);
    }
    *handle = record.mBuffer;
    return record.mCode;
}

GC_ERROR Stream::GetBufferInfo(BUFFER_HANDLE handle, BufferInfo& info) const
{
    State& state = *mState;
    std::lock_guard<std::mutex> lock(state.mLock);
    const Buffer* buffer = state.Find(handle);
    if (buffer == nullptr) {
        return state.FailLocked(GC_ERR_INVALID_HANDLE, "no such buffer");
    }
    if (!buffer->mFilled) {
        return state.FailLocked(GC_ERR_NO_DATA, "the buffer holds no frame");
    }
    info = buffer->mInfo;
    return GC_ERR_SUCCESS;
}

GC_ERROR Stream::GetInfo(std::int32_t command, std::int32_t* type, void* buffer, std::size_t* size) const
{
    State& state = *mState;
    const ReceiveCounts counts = state.mCounters.Read();
    switch (command) {
    case STREAM_INFO_NUM_DELIVERED:
        return AnswerNumber(counts.mDelivered, type, buffer, size);
    case STREAM_INFO_NUM_UNDERRUN:
        return AnswerNumber(counts.mUnderruns, type, buffer, size);
    case STREAM_INFO_BUF_ANNOUNCE_MIN:
        // A buffer for each frame in flight, and one with the host.
        return AnswerNumber(FrameAssembler::FramesInFlight(state.mOptions.mFramesInFlight) + 1, type, buffer, size);
    case STREAM_INFO_NUM_INCOMPLETE:
        return AnswerNumber(counts.mIncomplete, type, buffer, size);
    case STREAM_INFO_PACKETS_RECEIVED:
        return AnswerNumber(counts.mPacketsReceived, type, buffer, size);
    case STREAM_INFO_PACKETS_MISSING:
        return AnswerNumber(counts.mPacketsMissing, type, buffer, size);
    case STREAM_INFO_PACKETS_OUT_OF_RANGE:
        return AnswerNumber(counts.mPacketsOutOfRange, type, buffer, size);
    case STREAM_INFO_RESEND_REQUESTS:
        return AnswerNumber(counts.mResendRequests, type, buffer, size);
    case STREAM_INFO_PACKETS_RESENT:
        return AnswerNumber(counts.mPacketsResent, type, buffer, size);
    default:
        break;
    }
    std::lock_guard<std::mutex> lock(state.mLock);
    switch (command) {
    case STREAM_INFO_RECEIVE_BUFFER:
        return AnswerNumber(state.mReceiveBuffer, type, buffer, size);
    case STREAM_INFO_PACKET_SIZE:
        return AnswerNumber(state.mPacketSize, type, buffer, size);
    case STREAM_INFO_RECEIVE_PATH:
        return AnswerText(state.mReceiveFailure.empty()
                              ? state.mReceivePath
                              : state.mReceivePath + "; receiving stopped: " + state.mReceiveFailure,
                          type, buffer, size);
    default:
        return state.FailLocked(GC_ERR_INVALID_PARAMETER, "no stream information " + std::to_string(command));
    }
}

void Stream::DeviceLost()
{
    State& state = *mState;
    std::lock_guard<std::mutex> lock(state.mLock);
    if (!state.mLost) {
        state.mLost = true;
        state.AddRecordLocked(nullptr, GC_ERR_DEVICE_LOST);
    }
}

std::string Stream::LastError() const
{
    std::lock_guard<std::mutex> lock(mState->mLock);
    return mState->mLastError;
}

std::uint64_t Stream::ReceiverProcessorNanoseconds() const
{
    return mState->mReceiverNanoseconds.load();
}

}
