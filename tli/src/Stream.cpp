#include "Stream.h"

#include "Camera.h"
#include "HandleTable.h"
#include "Producer.h"
#include "camsim/FrameClock.h"
#include "os/Event.h"
#include "os/Thread.h"

namespace Tli {

namespace {

constexpr std::uint64_t Infinite = ~std::uint64_t{0};

}

Stream::Stream(std::shared_ptr<Camera> camera) : mCamera(std::move(camera))
{
}

GC_ERROR Stream::Announce(void* memory, std::size_t size, void* userData, BUFFER_HANDLE* handle)
{
    if (memory == nullptr || size == 0 || handle == nullptr)
        return GC_ERR_INVALID_PARAMETER;
    *handle = NewHandleValue();
    mBuffers[*handle] = Buffer{static_cast<std::uint8_t*>(memory), size, userData, false};
    return GC_ERR_SUCCESS;
}

GC_ERROR Stream::Revoke(BUFFER_HANDLE handle, void** memory, void** userData)
{
    const auto found = mBuffers.find(handle);
    if (found == mBuffers.end())
        return GC_ERR_INVALID_HANDLE;
    // A running acquisition may write into a queued buffer at any moment.
    if ((found->second.mWithProducer && mAcquiring) || handle == mFilling)
        return GC_ERR_ACCESS_DENIED;
    if (memory != nullptr)
        *memory = found->second.mMemory;
    if (userData != nullptr)
        *userData = found->second.mUserData;
    for (auto it = mQueue.begin(); it != mQueue.end();)
        it = *it == handle ? mQueue.erase(it) : std::next(it);
    mBuffers.erase(found);
    return GC_ERR_SUCCESS;
}

GC_ERROR Stream::Queue(BUFFER_HANDLE handle)
{
    const auto found = mBuffers.find(handle);
    if (found == mBuffers.end())
        return GC_ERR_INVALID_HANDLE;
    if (found->second.mWithProducer)
        return GC_ERR_ACCESS_DENIED;
    found->second.mWithProducer = true;
    mQueue.push_back(handle);
    // Only a frame thread waiting for a buffer needs to hear of it; a paced
    // one looks at the queue when its next frame is due.
    if (mWaitingForBuffer)
        Producer::Instance().WakeAfterUnlock(shared_from_this());
    return GC_ERR_SUCCESS;
}

GC_ERROR Stream::Start(std::uint64_t frames)
{
    if (mAcquiring)
        return GC_ERR_ACCESS_DENIED;
    if (frames == 0)
        return GC_ERR_INVALID_PARAMETER;
    if (!mThread.joinable()) {
        mStopping = false;
        Producer& producer = Producer::Instance();
        // The thread owns a reference, so the stream outlives a close that
        // retires the thread before it has seen the stop.
        mThread = std::thread([self = shared_from_this(), &producer] {
            // A camera fills buffers without the host's processors: queueing
            // a buffer, or a frame falling due, never takes the processor
            // from the host's thread.
            Os::StopPreemptingOnWake();
            std::unique_lock<std::mutex> lock(producer.GetMutex());
            self->Run(lock);
        });
    }
    mAcquiring = true;
    mFramesLeft = frames;
    return GC_ERR_SUCCESS;
}

std::optional<std::thread> Stream::Stop()
{
    mAcquiring = false;
    Flush();
    if (!mThread.joinable())
        return std::nullopt;
    mStopping = true;
    Wake();
    return std::move(mThread);
}

void Stream::Flush()
{
    ++mGeneration;
    mQueue.clear();
    mRecords.clear();
    for (auto& entry : mBuffers)
        entry.second.mWithProducer = false;
    if (mEvent)
        Os::ResetNativeEvent(*mEvent);
}

GC_ERROR Stream::RegisterEvent(TLI_OS_EVENT event)
{
    if (mEvent)
        return GC_ERR_ACCESS_DENIED;
    mEvent = event;
    if (!mRecords.empty())
        Os::SetNativeEvent(event);
    return GC_ERR_SUCCESS;
}

void Stream::UnregisterEvent()
{
    mEvent.reset();
}

GC_ERROR Stream::TakeRecord(BUFFER_HANDLE* handle)
{
    if (mRecords.empty())
        return GC_ERR_NO_DATA;
    const Record record = mRecords.front();
    mRecords.pop_front();
    const auto found = mBuffers.find(record.mBuffer);
    if (found != mBuffers.end())
        found->second.mWithProducer = false;
    // The event is signalled exactly while a record waits.
    if (mRecords.empty() && mEvent)
        Os::ResetNativeEvent(*mEvent);
    *handle = record.mBuffer;
    return record.mCode;
}

void Stream::AddRecord(BUFFER_HANDLE handle, GC_ERROR code)
{
    mRecords.push_back(Record{handle, code});
    if (mEvent)
        Os::SetNativeEvent(*mEvent);
}

BUFFER_HANDLE Stream::TakeQueued()
{
    if (mQueue.empty())
        return nullptr;
    BUFFER_HANDLE handle = mQueue.front();
    mQueue.pop_front();
    return handle;
}

std::optional<Stream::Frame> Stream::TakeFrame(bool fromAcquisition)
{
    Frame frame{mCamera->Geometry(), mCamera->NextFrameNumber(fromAcquisition), nullptr, mGeneration};
    frame.mBuffer = mAcquiring ? TakeQueued() : nullptr;
    if (frame.mBuffer == nullptr) {
        mCamera->CountLost();
        return std::nullopt;
    }
    return frame;
}

void Stream::CompleteFrame(const Frame& frame, std::size_t capacity)
{
    // A buffer too small for the frame holds its first part and says so.
    AddRecord(frame.mBuffer, frame.mGeometry.FrameBytes() > capacity ? GC_ERR_INVALID_BUFFER_SIZE : GC_ERR_SUCCESS);
    mCamera->CountDelivered();
    if (mFramesLeft != Infinite && --mFramesLeft == 0)
        mAcquiring = false;
}

bool Stream::Deliver(bool fromAcquisition)
{
    const std::optional<Frame> frame = TakeFrame(fromAcquisition);
    if (!frame)
        return false;
    const Buffer& buffer = mBuffers.at(frame->mBuffer);
    mPattern.Fill(buffer.mMemory, buffer.mSize, frame->mGeometry, frame->mNumber);
    CompleteFrame(*frame, buffer.mSize);
    return true;
}

void Stream::DeliverFromThread(std::unique_lock<std::mutex>& lock)
{
    const std::optional<Frame> frame = TakeFrame(true);
    if (!frame)
        return;
    const Buffer buffer = mBuffers.at(frame->mBuffer);
    // Filled without the producer's lock, so that a host taking and queueing
    // buffers meanwhile never waits for a frame's copy. The buffer is out of
    // the queue and marked, so nothing else touches it; a stop retires this
    // thread before the host may revoke or free it.
    mFilling = frame->mBuffer;
    lock.unlock();
    mThreadPattern.Fill(buffer.mMemory, buffer.mSize, frame->mGeometry, frame->mNumber);
    lock.lock();
    mFilling = nullptr;
    // A stop or flush meanwhile took the buffer back: the frame is dropped.
    if (frame->mGeneration == mGeneration && mBuffers.count(frame->mBuffer) != 0)
        CompleteFrame(*frame, buffer.mSize);
}

void Stream::Run(std::unique_lock<std::mutex>& lock)
{
    CamSim::FrameClock clock;
    while (!mStopping) {
        Camera& camera = *mCamera;
        if (camera.TakeTrigger()) {
            DeliverFromThread(lock);
            continue;
        }
        if (!camera.IsFreeRunning()) {
            clock.Stop();
            mWake.wait(lock);
            continue;
        }
        if (camera.IsUnpaced()) {
            if (mQueue.empty() || !mAcquiring) {
                mWaitingForBuffer = true;
                mWake.wait(lock);
                mWaitingForBuffer = false;
            } else {
                DeliverFromThread(lock);
            }
            continue;
        }
        if (mWake.wait_until(lock, clock.NextDue(camera)) == std::cv_status::timeout) {
            DeliverFromThread(lock);
            clock.Advance(camera);
        }
    }
}

}
