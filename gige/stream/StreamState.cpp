#include "stream/StreamState.h"

#include "os/Event.h"

namespace Gige {

namespace {

constexpr std::uint64_t NoLimit = ~std::uint64_t{0};

}

StreamBuffer* Stream::State::Find(BUFFER_HANDLE handle)
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
    mRecords.push_back(StreamRecord{buffer, code});
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
        entry.second->mHolder = StreamBuffer::Holder::Host;
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
    StreamBuffer* taken = mQueue.front();
    mQueue.pop_front();
    taken->mHolder = StreamBuffer::Holder::Frame;
    if (mFramesLeft != NoLimit) {
        --mFramesLeft;
    }
    buffer = FrameBuffer{taken, taken->mMemory, taken->mSize};
    return Take::Taken;
}

void Stream::State::Deliver(const FrameBuffer& buffer, const BufferInfo& info, GC_ERROR code)
{
    std::lock_guard<std::mutex> lock(mLock);
    StreamBuffer* filled = Find(buffer.mHandle);
    // After the camera was lost nothing more is delivered; the buffer
    // comes back when acquisition stops.
    if (filled == nullptr || filled->mHolder != StreamBuffer::Holder::Frame || mLost) {
        return;
    }
    filled->mHolder = StreamBuffer::Holder::Record;
    filled->mFilled = true;
    filled->mInfo = info;
    AddRecordLocked(buffer.mHandle, code);
}

void Stream::State::ReceivingFailed(const std::string& reason)
{
    std::lock_guard<std::mutex> lock(mLock);
    mReceiveFailure = reason;
}

}
