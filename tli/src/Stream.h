// The image stream of one open camera: the buffers a host announced, the
// queue of buffers waiting for a frame, the records of filled buffers
// waiting for the host, the event signalled while such a record waits, and
// the thread that makes the camera's frames. Everything runs under the
// producer's lock; the frame thread waits on it without holding it, and
// fills a frame's pixels without it.
#pragma once

#include "camsim/FramePattern.h"
#include "TLI.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace Tli {

class Camera;

class Stream : public std::enable_shared_from_this<Stream> {
public:
    explicit Stream(std::shared_ptr<Camera> camera);

    GC_ERROR Announce(void* memory, std::size_t size, void* userData, BUFFER_HANDLE* handle);
    GC_ERROR Revoke(BUFFER_HANDLE handle, void** memory, void** userData);
    GC_ERROR Queue(BUFFER_HANDLE handle);
    // Starting makes the frame thread; stopping retires it (the caller joins
    // it once the lock is released) and hands queued and filled buffers back.
    GC_ERROR Start(std::uint64_t frames);
    std::optional<std::thread> Stop();
    bool IsAcquiring() const { return mAcquiring; }

    GC_ERROR RegisterEvent(TLI_OS_EVENT event);
    void UnregisterEvent();
    bool HasEvent() const { return mEvent.has_value(); }
    // The oldest record: its buffer and its code; GC_ERR_NO_DATA when none.
    GC_ERROR TakeRecord(BUFFER_HANDLE* handle);
    void AddRecord(BUFFER_HANDLE handle, GC_ERROR code);
    // The oldest queued buffer, taken out of the queue; null when none.
    BUFFER_HANDLE TakeQueued();

    // One frame from the camera, filled under the lock: into the oldest
    // queued buffer, or lost. True when a buffer took it.
    bool Deliver(bool fromAcquisition);
    // The frame thread looks at the camera again.
    void Wake() { mWake.notify_all(); }

    std::uint32_t AnnouncedCount() const { return static_cast<std::uint32_t>(mBuffers.size()); }
    std::uint32_t QueuedCount() const { return static_cast<std::uint32_t>(mQueue.size()); }
    std::uint32_t PendingCount() const { return static_cast<std::uint32_t>(mRecords.size()); }

private:
    struct Buffer {
        std::uint8_t* mMemory;
        std::size_t mSize;
        void* mUserData;
        bool mWithProducer;   // queued or filled and not yet taken by the host
    };
    struct Record {
        BUFFER_HANDLE mBuffer;
        GC_ERROR mCode;
    };
    // A frame on its way into a buffer.
    struct Frame {
        CamSim::FrameGeometry mGeometry;
        std::uint32_t mNumber;
        BUFFER_HANDLE mBuffer;
        std::uint64_t mGeneration;
    };

    void Run(std::unique_lock<std::mutex>& lock);
    void Flush();
    // The buffer for the next frame, or nothing when the frame is lost.
    std::optional<Frame> TakeFrame(bool fromAcquisition);
    void CompleteFrame(const Frame& frame, std::size_t capacity);
    // The frame thread's delivery: the lock is released while the pixels are written.
    void DeliverFromThread(std::unique_lock<std::mutex>& lock);

    std::shared_ptr<Camera> mCamera;
    std::map<BUFFER_HANDLE, Buffer> mBuffers;
    std::deque<BUFFER_HANDLE> mQueue;
    std::deque<Record> mRecords;
    std::optional<TLI_OS_EVENT> mEvent;
    bool mAcquiring = false;
    std::uint64_t mFramesLeft = 0;
    bool mStopping = false;
    std::condition_variable mWake;
    std::thread mThread;
    CamSim::FramePattern mPattern;
    // The frame thread's own pattern, used without the lock.
    CamSim::FramePattern mThreadPattern;
    BUFFER_HANDLE mFilling = nullptr;
    bool mWaitingForBuffer = false;
    // Counts flushes, so a frame filled across one is recognised and dropped.
    std::uint64_t mGeneration = 0;
};

}
