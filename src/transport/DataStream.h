// A device's image stream: its announced buffers, the acquisition event
// while acquisition runs, and the filled buffers waiting to be read, oldest
// first.
#pragma once

#include "os/Event.h"
#include "transport/GrabBuffer.h"
#include "transport/GrabFinishedEvent.h"
#include "transport/ProducerApi.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Kavrix {

class Device;

// What one record of the acquisition event brought.
enum class RecordKind {
    None,          // no record was pending
    Image,         // a filled buffer, now ready to be read
    Failed,        // the producer reported a failure; the buffer is queued again
    Incomplete,    // a frame that missed packets; the buffer is queued again
    WrongLeader,   // a frame whose size or padding is not the stream's; queued again
    DeviceLost     // the camera stopped answering: nothing more comes
};

// What a discard before a new acquisition gave back.
struct Discarded {
    std::size_t mRecords = 0;
    std::size_t mImages = 0;
};

class DataStream {
public:
    static constexpr std::size_t DefaultBufferCount = 5;
    // However many a producer recommends: a buffer is a whole frame.
    static constexpr std::size_t MostBuffers = 64;

    explicit DataStream(Device& device);
    // Destroys the producer stream when it still exists; failures are logged.
    ~DataStream();
    DataStream(const DataStream&) = delete;
    DataStream& operator=(const DataStream&) = delete;

    DS_HANDLE GetHandle() const;
    const ProducerApi& Api() const;

    // Creates the producer stream and announces the buffers, sized from the
    // camera's current pixel format, width and height: bufferCount, or the
    // more the producer recommends (STREAM_INFO_BUF_ANNOUNCE_MIN) for the
    // frames it keeps in flight, up to MostBuffers.
    void Create(std::size_t bufferCount = DefaultBufferCount);
    void StartAcquisition();
    void StopAcquisition();
    void Destroy();
    bool IsAcquisitionStarted() const { return mAcquisitionStarted; }
    // Acquiring, or its last stop failed.
    bool NeedsStop() const { return mAcquisitionStarted || mStopFailed; }
    // The producer reported the camera lost: nothing written to it arrives.
    bool IsDeviceLost() const { return mDeviceLost.load(); }

    // Takes one record of the acquisition event (on the wait thread); raises
    // when none is pending.
    RecordKind ProcessEvent(const char* cameraName);
    // Takes every pending record and gives every filled buffer back unread,
    // so the next acquisition starts with nothing of the last one. Pending
    // records are found by asking, not by the event, which leaving the wait
    // clears while records may still wait.
    Discarded DiscardWaitingImages(const char* cameraName);
    bool HasImage() const { return !mReady.empty(); }
    // The buffer GetImage reads next, or null.
    const GrabBuffer* GetNextImage() const { return mReady.empty() ? nullptr : mReady.front(); }
    // Copies the oldest filled image (nothing without a destination) and
    // queues its buffer again; a buffer the producer refuses is kept for
    // RequeueHeldBuffers, so a passing producer error costs frames, not the stream.
    void GetImage(void* destination, std::size_t size);
    // Queues the buffers whose requeue failed once more; those still refused stay held.
    void RequeueHeldBuffers();
    std::size_t GetHeldBufferCount() const { return mHeld.size(); }
    const std::shared_ptr<Os::Event>& GetImageReceivedEvent() const;

    const std::vector<std::unique_ptr<GrabBuffer>>& GetBuffers() const { return mBuffers; }

    // The producer's statistics of the stream (DSGetInfo), where it tells them.
    std::optional<std::uint64_t> GetInfoNumber(std::int32_t command) const;
    std::optional<std::string> GetInfoText(std::int32_t command) const;

private:
    GrabBuffer* Find(BUFFER_HANDLE handle) const;
    // One record, the buffer it names made ready (or queued again after a
    // failure the producer reported, or a frame that cannot be delivered).
    RecordKind TakeRecord(const char* cameraName);
    // Queues a buffer the driver will not read again; kept when refused.
    void Requeue(GrabBuffer& buffer);
    // The producer's leader agrees with the size the buffers were made for
    // (true when the producer does not tell).
    bool LeaderFits(GrabBuffer& buffer) const;

    Device& mDevice;
    DS_HANDLE mHandle = nullptr;
    std::vector<std::unique_ptr<GrabBuffer>> mBuffers;
    std::unique_ptr<GrabFinishedEvent> mEvent;
    // Refers to buffers of mBuffers; room for all of them is reserved, so
    // delivering an image allocates nothing.
    std::vector<GrabBuffer*> mReady;
    // Buffers the producer refused to take back.
    std::vector<GrabBuffer*> mHeld;
    bool mAcquisitionStarted = false;
    bool mStopFailed = false;
    // Set on the wait thread, read on the host's.
    std::atomic<bool> mDeviceLost{false};
    // The frame size the buffers were made for.
    std::int64_t mWidth = 0;
    std::int64_t mHeight = 0;
};

}
