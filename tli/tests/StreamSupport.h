// A stream opened on a simulated camera the way a driver opens one: buffers
// announced, an event registered, everything closed at the end.
#pragma once

#include "Support.h"
#include "os/Event.h"

#include <cstdint>
#include <vector>

namespace TliTest {

class StreamFixture : public ProducerTest {
protected:
    explicit StreamFixture(const char* camera = DefaultKx1300, bool bigEndian = true);
    ~StreamFixture() override;

    // Announces count buffers of size bytes (default: one frame at power-on).
    void Announce(std::size_t count, std::size_t size = 0);
    void QueueAll();
    void Start(uint64_t frames = ~uint64_t{0});
    // The next record: waits up to timeoutMs for the event; null on time-out.
    BUFFER_HANDLE WaitRecord(uint32_t timeoutMs, GC_ERROR* code = nullptr);
    bool EventIsSet();
    // The buffer's memory, by handle.
    std::vector<uint8_t>& Memory(BUFFER_HANDLE handle);
    static uint32_t FrameNumber(const std::vector<uint8_t>& memory);
    TLICtlStreamState State();
    GC_ERROR WriteFeature(uint64_t address, uint32_t value) { return Write32(mDevice, address, value, mBigEndian); }

    const char* mCamera;
    bool mBigEndian;
    Library mLibrary;
    DEV_HANDLE mDevice = nullptr;
    DS_HANDLE mStream = nullptr;
    Os::Event mEvent{Os::Event::Mode::ManualReset};
    EVENT_HANDLE mEventHandle = nullptr;
    std::vector<BUFFER_HANDLE> mHandles;
    std::vector<std::vector<uint8_t>> mBuffers;
};

// Feature registers both models keep at the same addresses.
constexpr uint64_t WidthAddress = 0x40010;
constexpr uint64_t HeightAddress = 0x40014;
constexpr uint64_t PixelFormatAddress = 0x40020;
constexpr uint64_t AcquisitionModeAddress = 0x40030;
constexpr uint64_t AcquisitionStartAddress = 0x40034;
constexpr uint64_t AcquisitionStopAddress = 0x40038;
constexpr uint64_t TriggerSoftwareAddress = 0x40058;

}
