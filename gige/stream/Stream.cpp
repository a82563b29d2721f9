#include "stream/Stream.h"

#include "os/Event.h"
#include "stream/FrameAssembler.h"
#include "stream/InfoAnswer.h"
#include "stream/StreamState.h"

#include <algorithm>

namespace Gige {

namespace {

// One buffer for each frame in flight and one with the host, and no fewer
// than a camera at 80 frames per second fills while a frame is kept open for
// its missing packets.
std::uint64_t RecommendedBuffers(const StreamOptions& options)
{
    constexpr std::uint64_t ReferenceFramesPerSecond = 80;
    const std::uint64_t inFlight = FrameAssembler::FramesInFlight(options.mFramesInFlight) + 1;
    const std::uint64_t retained = (std::uint64_t{options.mFrameRetentionMs} * ReferenceFramesPerSecond + 999) / 1000;
    return std::max(inFlight, retained);
}

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
    auto buffer = std::make_unique<StreamBuffer>();
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
    StreamBuffer* buffer = state.Find(handle);
    if (buffer == nullptr) {
        return state.FailLocked(GC_ERR_INVALID_HANDLE, "no such buffer");
    }
    // A running acquisition may write into a queued buffer at any moment.
    if (state.mAcquiring && buffer->mHolder != StreamBuffer::Holder::Host) {
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
    StreamBuffer* buffer = state.Find(handle);
    if (buffer == nullptr) {
        return state.FailLocked(GC_ERR_INVALID_HANDLE, "no such buffer");
    }
    if (buffer->mHolder != StreamBuffer::Holder::Host) {
        return state.FailLocked(GC_ERR_ACCESS_DENIED, "the buffer is queued already, or its record was not taken");
    }
    state.mQueue.push_back(buffer);
    buffer->mHolder = StreamBuffer::Holder::Queue;
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
    const StreamRecord record = state.mRecords.front();
    state.mRecords.pop_front();
    if (StreamBuffer* buffer = state.Find(record.mBuffer)) {
        buffer->mHolder = StreamBuffer::Holder::Host;
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
    const StreamBuffer* buffer = state.Find(handle);
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
        return AnswerNumber(RecommendedBuffers(state.mOptions), type, buffer, size);
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
