// A device's image stream (channel 0) behind the producer's DS operations:
// announced buffers, the queue, acquisition, the records of the acquisition
// event and the statistics. The producer's operations call it; it calls
// nothing of the producer but its StreamHost.
#pragma once

#include "TLI.h"
#include "stream/StreamHost.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Gige {

class Stream {
public:
    explicit Stream(StreamHost& host);
    // Stops acquisition (clearing the camera's stream destination) and ends
    // the receiver; never throws.
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    GC_ERROR AnnounceBuffer(void* memory, std::size_t size, void* userData, BUFFER_HANDLE* handle);
    GC_ERROR RevokeBuffer(BUFFER_HANDLE handle, void** memory, void** userData);
    GC_ERROR QueueBuffer(BUFFER_HANDLE handle);
    // Points the camera's stream channel at a receiver of this host (SCDA,
    // SCP), reads its packet size (SCPS) and starts receiving.
    GC_ERROR StartAcquisition(std::uint64_t frames);
    // Clears the camera's stream destination (SCP 0), ends receiving and
    // hands every queued and filled buffer back, dropping their records.
    GC_ERROR StopAcquisition();

    // The driver's event: set exactly while a record waits.
    GC_ERROR RegisterEvent(TLI_OS_EVENT event);
    void UnregisterEvent();
    // The next record: a filled buffer (0, or GC_ERR_INCOMPLETE_FRAME), or a
    // null handle with GC_ERR_DEVICE_LOST; GC_ERR_NO_DATA when none waits.
    GC_ERROR TakeRecord(BUFFER_HANDLE* handle);
    // DSGetInfo's commands (TLI.h).
    GC_ERROR GetInfo(std::int32_t command, std::int32_t* type, void* buffer, std::size_t* size);
    // The device lost its camera: a GC_ERR_DEVICE_LOST record, and the
    // stream delivers nothing more.
    void DeviceLost();

    // The producer's error text of the last failure of this stream's calls.
    const std::string& LastError() const;

private:
    struct State;
    std::unique_ptr<State> mState;
};

}
