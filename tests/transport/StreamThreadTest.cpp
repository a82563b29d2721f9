// One thread delivers frames, another takes them through the acquisition
// event as the camera wait thread does: every frame arrives once, in order,
// whole, and nothing is left with the producer after the close.
#include "os/Event.h"
#include "support/ProducerState.h"
#include "support/StreamDevice.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int Width = 64;
constexpr int Height = 48;
constexpr int Frames = 3000;

TEST(StreamThreadTest, EveryFrameIsSeenOnceAndInOrder)
{
    TestSupport::ProducerState producer;
    TestSupport::StreamDevice device(0, Width, Height);
    device->OpenDataStream();
    Os::Event& event = *device->GetImageReceivedEvent();

    // The deliverer never has more frames in flight than the stream has
    // buffers, so no frame can be lost.
    std::mutex lock;
    std::condition_variable consumed;
    int taken = 0;
    bool failed = false;

    std::thread deliverer([&] {
        for (int i = 0; i < Frames; ++i) {
            std::unique_lock<std::mutex> guard(lock);
            consumed.wait(guard, [&] {
                return failed || i - taken < static_cast<int>(Kavrix::DataStream::DefaultBufferCount);
            });
            if (failed) {
                return;
            }
            guard.unlock();
            if (TLICtl_DeliverFrame(device.Name().c_str()) != GC_ERR_SUCCESS) {
                ADD_FAILURE() << "frame " << i << " found no buffer";
            }
        }
    });

    std::vector<unsigned char> image(Width * Height);
    std::uint32_t expected = 0;
    Os::Event* events[] = {&event};
    for (int seen = 0; seen < Frames;) {
        if (Os::WaitForAny(events, 1, 5000) != 0) {
            ADD_FAILURE() << "no frame after " << seen;
            break;
        }
        device->ProcessEvent("Cam");
        while (device->HasImage()) {
            device->GetImage(image.data(), image.size());
            const std::uint32_t number = TestSupport::FrameNumber(image.data());
            if (seen == 0) {
                expected = number;
            }
            ASSERT_EQ(number, expected) << "frame " << seen;
            // The pattern moves with the frame number: byte x of row y.
            ASSERT_EQ(image[Width * 7 + 9], static_cast<unsigned char>(9 + 7 + number));
            ++expected;
            ++seen;
            std::lock_guard<std::mutex> guard(lock);
            taken = seen;
            consumed.notify_one();
        }
    }
    {
        std::lock_guard<std::mutex> guard(lock);
        failed = taken < Frames;
        consumed.notify_one();
    }
    deliverer.join();

    EXPECT_EQ(device.State().mLost, 0u);
    device->Close();
    const TLICtlStreamState state = device.State();
    EXPECT_EQ(state.mAnnounced, 0u);
    EXPECT_EQ(state.mQueued, 0u);
    EXPECT_EQ(state.mPending, 0u);
    EXPECT_EQ(state.mStreamOpen, 0);
}

}
