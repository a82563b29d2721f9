// The camera's acquisition: free-running at its frame rate, one frame,
// software triggers, and frames flowing while other threads use the
// producer.
#include "StreamSupport.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

using namespace TliTest;

namespace {

using Clock = std::chrono::steady_clock;

class Acquisition : public StreamFixture {
protected:
    // FrameRate of the KX-1300: a big-endian float.
    void SetFrameRate(float rate)
    {
        uint32_t bits = 0;
        std::memcpy(&bits, &rate, 4);
        ASSERT_EQ(WriteFeature(0x40060, bits), GC_ERR_SUCCESS);
    }
};

TEST_F(Acquisition, FreeRunsAtTheFrameRateAndLosesFramesWithoutBuffers)
{
    SetFrameRate(100.0f);
    Announce(2, 1280 * 1024);
    QueueAll();
    Start();
    const auto begin = Clock::now();
    ASSERT_EQ(WriteFeature(AcquisitionStartAddress, 1), GC_ERR_SUCCESS);
    uint32_t expected = 1;
    for (int i = 0; i < 10; ++i) {
        BUFFER_HANDLE handle = WaitRecord(2000);
        ASSERT_NE(handle, nullptr) << "frame " << i;
        EXPECT_EQ(FrameNumber(Memory(handle)), expected++);
        ASSERT_EQ(DSQueueBuffer(mStream, handle), GC_ERR_SUCCESS);
    }
    const auto elapsed = Clock::now() - begin;
    EXPECT_GE(elapsed, std::chrono::milliseconds(95)) << "10 frames at 100 Hz";

    // Not handing buffers back: the camera keeps sending, frames are lost.
    const uint64_t lost = State().mLost;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_GT(State().mLost, lost);
    ASSERT_EQ(WriteFeature(AcquisitionStopAddress, 1), GC_ERR_SUCCESS);
    EXPECT_EQ(State().mCameraAcquiring, 0);
}

TEST_F(Acquisition, SingleFrameModeSendsOneFrame)
{
    SetFrameRate(200.0f);
    Announce(2);
    QueueAll();
    Start();
    ASSERT_EQ(WriteFeature(AcquisitionModeAddress, 3), GC_ERR_SUCCESS);
    ASSERT_EQ(WriteFeature(AcquisitionStartAddress, 1), GC_ERR_SUCCESS);
    const BUFFER_HANDLE handle = WaitRecord(2000);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(FrameNumber(Memory(handle)), 1u);
    EXPECT_EQ(WaitRecord(100), nullptr) << "only one";
    EXPECT_EQ(State().mCameraAcquiring, 0);
    EXPECT_EQ(State().mLost, 0u);
}

TEST_F(Acquisition, SoftwareTriggerSendsAFrameWhenTriggerModeIsOn)
{
    Announce(2);
    QueueAll();
    Start();
    ASSERT_EQ(WriteFeature(0x40040, 1), GC_ERR_SUCCESS);   // TriggerMode On
    ASSERT_EQ(WriteFeature(0x40044, 0), GC_ERR_SUCCESS);   // TriggerSource Line1
    ASSERT_EQ(WriteFeature(AcquisitionStartAddress, 1), GC_ERR_SUCCESS);
    EXPECT_EQ(WaitRecord(100), nullptr) << "no frame without a trigger";
    ASSERT_EQ(WriteFeature(TriggerSoftwareAddress, 1), GC_ERR_SUCCESS);
    EXPECT_EQ(WaitRecord(100), nullptr) << "the source is a line, not software";

    ASSERT_EQ(WriteFeature(0x40044, 7), GC_ERR_SUCCESS);   // TriggerSource Software
    ASSERT_EQ(WriteFeature(TriggerSoftwareAddress, 1), GC_ERR_SUCCESS);
    const BUFFER_HANDLE handle = WaitRecord(2000);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(FrameNumber(Memory(handle)), 1u);
    EXPECT_EQ(WaitRecord(100), nullptr) << "one frame per trigger";
}

TEST_F(Acquisition, AcquisitionStartRestartsTheFrameNumbers)
{
    Announce(3);
    QueueAll();
    Start();
    ASSERT_EQ(WriteFeature(AcquisitionModeAddress, 3), GC_ERR_SUCCESS);
    ASSERT_EQ(WriteFeature(AcquisitionStartAddress, 1), GC_ERR_SUCCESS);
    ASSERT_NE(WaitRecord(2000), nullptr);
    ASSERT_EQ(WriteFeature(AcquisitionStartAddress, 1), GC_ERR_SUCCESS);
    const BUFFER_HANDLE handle = WaitRecord(2000);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(FrameNumber(Memory(handle)), 1u);
    int64_t counter = 0;
    ASSERT_EQ(TLICtl_GetRegisterValue(mCamera, "FrameCounterReg", &counter), GC_ERR_SUCCESS);
    EXPECT_EQ(counter, 2) << "the camera's own counter runs on";
}

TEST_F(Acquisition, AStreamLimitedToNFramesTakesN)
{
    SetFrameRate(200.0f);
    Announce(4);
    QueueAll();
    Start(2);
    ASSERT_EQ(WriteFeature(AcquisitionStartAddress, 1), GC_ERR_SUCCESS);
    ASSERT_NE(WaitRecord(2000), nullptr);
    ASSERT_NE(WaitRecord(2000), nullptr);
    EXPECT_EQ(WaitRecord(100), nullptr);
    EXPECT_EQ(State().mStreamAcquiring, 0);
}

class Throughput : public StreamFixture {
protected:
    Throughput() : StreamFixture(DefaultKx5000, false) {}
};

// Run under ThreadSanitizer as well: the frame thread, a host's wait thread
// taking records and requeueing, and a third thread using the producer.
TEST_F(Throughput, UnpacedCameraKeepsFramesInOrderWhileOtherThreadsWork)
{
    ASSERT_EQ(WriteFeature(WidthAddress, 640), GC_ERR_SUCCESS);
    ASSERT_EQ(WriteFeature(HeightAddress, 480), GC_ERR_SUCCESS);
    ASSERT_EQ(TLICtl_SetPacing(mCamera, 0), GC_ERR_SUCCESS);
    Announce(5, 640 * 480);
    Start();
    ASSERT_EQ(WriteFeature(AcquisitionStartAddress, 1), GC_ERR_SUCCESS);

    std::atomic<bool> done{false};
    std::thread queuer([&] {
        for (BUFFER_HANDLE handle : mHandles) {
            EXPECT_EQ(DSQueueBuffer(mStream, handle), GC_ERR_SUCCESS);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    std::thread reader([&] {
        while (!done) {
            TLICtlStreamState state{};
            TLICtl_GetStreamState(mCamera, &state);
            uint32_t width = 0;
            size_t size = 4;
            GCReadData(mDevice, WidthAddress, &width, &size);
        }
    });
    uint32_t last = 0;
    const int frames = 300;
    for (int i = 0; i < frames; ++i) {
        const BUFFER_HANDLE handle = WaitRecord(5000);
        ASSERT_NE(handle, nullptr) << "frame " << i;
        const std::vector<uint8_t>& image = Memory(handle);
        const uint32_t number = FrameNumber(image);
        EXPECT_EQ(number, last + 1);
        last = number;
        EXPECT_EQ(image[640 * 10 + 20], static_cast<uint8_t>(20 + 10 + number));
        ASSERT_EQ(DSQueueBuffer(mStream, handle), GC_ERR_SUCCESS);
    }
    done = true;
    queuer.join();
    reader.join();
    EXPECT_EQ(State().mLost, 0u) << "an unpaced camera waits for buffers";
}

}
