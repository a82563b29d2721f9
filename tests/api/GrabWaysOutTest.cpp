// Every way a grab can end — a delivery, a close or reset from inside the
// callback or from another thread, a mode change, a callback that throws, a
// stop — leaves the camera ready for the next grab, and no camera's stop
// holds up the images of another.
#include "CameraFixture.h"

#include "TLIControl.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <stdexcept>
#include <thread>

namespace {

using namespace std::chrono_literals;
using TestSupport::CameraFixture;
using TestSupport::Kx1300;
using TestSupport::Kx5000;

class GrabWaysOutTest : public CameraFixture {
protected:
    GrabWaysOutTest()
    {
        for (const char* camera : {Kx1300, Kx5000}) {
            Store(camera, "Width", "320");
            Store(camera, "Height", "240");
        }
    }

    // A single grab now is answered with an image.
    ::testing::AssertionResult NextGrabIsServed(int port)
    {
        const std::uint64_t before = mImages.Count(port);
        if (mDriver->doCVLGrab(0, port) != 1) {
            return ::testing::AssertionFailure() << "doCVLGrab refused\n" << mLog.Dump();
        }
        if (!mImages.WaitForImages(port, before + 1, 5s)) {
            return ::testing::AssertionFailure() << "no image\n" << mLog.Dump();
        }
        return ::testing::AssertionSuccess();
    }
};

TEST_F(GrabWaysOutTest, EveryWayOutOfASingleGrabLeavesTheNextOneServed)
{
    constexpr int port = 3;
    struct WayOut {
        const char* name;
        // Runs inside the callback, or on the test's thread while the callback runs.
        std::function<void()> inCallback;
        std::function<void()> meanwhile;
        bool closes;
    };
    const auto close = [&] { mDriver->closeCVLPort(0, port); };
    const auto reset = [&] { mDriver->setProperty(0, port, "Reset", 0); };
    const std::vector<WayOut> waysOut = {
        {"close inside the callback", close, nullptr, true},
        {"reset inside the callback", reset, nullptr, false},
        {"continuous on inside the callback", [&] { mDriver->setProperty(0, port, "continuous", 1); }, nullptr,
         false},
        {"a callback that throws", [] { throw std::runtime_error("the host's own failure"); }, nullptr, false},
        {"close from another thread", nullptr, close, true},
        {"reset from another thread", nullptr, reset, false},
    };
    OpenForImages(Kx1300, port);
    for (const WayOut& wayOut : waysOut) {
        SCOPED_TRACE(wayOut.name);
        std::promise<void> inside;
        std::atomic<bool> once{false};
        mImages.OnImage(port, [&](std::uint64_t) {
            if (once.exchange(true)) {
                return;
            }
            if (wayOut.inCallback) {
                wayOut.inCallback();
            } else {
                inside.set_value();
                std::this_thread::sleep_for(200ms);
            }
        });
        const std::uint64_t before = mImages.Count(port);
        ASSERT_EQ(mDriver->doCVLGrab(0, port), 1);
        if (wayOut.meanwhile) {
            ASSERT_EQ(inside.get_future().wait_for(5s), std::future_status::ready) << mLog.Dump();
            wayOut.meanwhile();
        }
        ASSERT_TRUE(mImages.WaitForImages(port, before + 1, 5s)) << mLog.Dump();
        std::this_thread::sleep_for(100ms);
        mImages.OnImage(port, nullptr);
        if (wayOut.closes) {
            ASSERT_EQ(Open(Kx1300, port), 1) << mLog.Dump();
        }
        ASSERT_EQ(mDriver->setProperty(0, port, "continuous", 0), 1);
        EXPECT_TRUE(NextGrabIsServed(port));
        EXPECT_TRUE(NextGrabIsServed(port));
    }
    EXPECT_EQ(mImages.BadImages(port), 0u);
}

TEST_F(GrabWaysOutTest, StopLiveTakeOneDeliversTheFirstFrameOfTheNewAcquisitionEveryRound)
{
    TLICtl_SetPacing(Kx1300, 0);
    OpenForImages(Kx1300, 2);
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        const std::uint64_t live = mImages.Count(2);
        ASSERT_EQ(mDriver->setProperty(0, 2, "continuous", 1), 1);
        ASSERT_TRUE(mImages.WaitForImages(2, live + 5, 5s)) << "live view stopped\n" << mLog.Dump();
        ASSERT_EQ(mDriver->setProperty(0, 2, "continuous", 0), 1);
        const std::uint64_t snap = mImages.Count(2);
        ASSERT_EQ(mDriver->doCVLGrab(0, 2), 1);
        ASSERT_TRUE(mImages.WaitForImages(2, snap + 1, 5s)) << "no snap\n" << mLog.Dump();
        std::this_thread::sleep_for(50ms);
        const std::vector<std::uint32_t> frames = mImages.FrameNumbers(2);
        ASSERT_EQ(frames.size(), snap + 1) << "one image per single grab";
        EXPECT_EQ(frames.back(), 1u) << "the snap is taken after the request";
    }
    EXPECT_EQ(mImages.BadImages(2), 0u);
}

TEST_F(GrabWaysOutTest, StoppingOneCameraDoesNotHoldUpTheOther)
{
    // Port 1 runs at 24 frames a second while port 0 stops.
    OpenForImages(Kx1300, 0, false);
    OpenForImages(Kx5000, 1, false);
    ASSERT_EQ(mDriver->setProperty(0, 1, "continuous", 1), 1);
    ASSERT_TRUE(mImages.WaitForImages(1, 3, 5s));
    const auto longestGapWhile = [&](const std::function<void()>& stop) {
        ASSERT_EQ(mDriver->setProperty(0, 0, "continuous", 1), 1);
        ASSERT_TRUE(mImages.WaitForImages(0, mImages.Count(0) + 3, 5s));
        const std::uint64_t from = mImages.Count(1);
        stop();
        std::this_thread::sleep_for(800ms);
        // Two frame periods are 83 ms; the slack is for a loaded machine.
        EXPECT_LT(mImages.LongestGap(1, from), 250ms);
    };
    {
        SCOPED_TRACE("the host stops the other camera, and a frame comes while it settles");
        std::thread host;
        longestGapWhile([&] {
            host = std::thread([&] { mDriver->setProperty(0, 0, "continuous", 0); });
            std::this_thread::sleep_for(100ms);
            TLICtl_DeliverFrame(Kx1300);
        });
        host.join();
    }
    {
        SCOPED_TRACE("the other camera is stopped from inside its callback");
        longestGapWhile([&] {
            mImages.OnImage(0, [&](std::uint64_t) { mDriver->setProperty(0, 0, "continuous", 0); });
        });
        mImages.OnImage(0, nullptr);
        int continuous = -1;
        EXPECT_EQ(mDriver->getProperty(0, 0, "continuous", &continuous), 1);
        EXPECT_EQ(continuous, 0);
    }
    mDriver->setProperty(0, 1, "continuous", 0);
}

TEST_F(GrabWaysOutTest, AShortRequeueOutageDoesNotEndContinuousGrabbing)
{
    TLICtl_SetPacing(Kx1300, 0);
    OpenForImages(Kx1300, 4);
    ASSERT_EQ(mDriver->setProperty(0, 4, "continuous", 1), 1);
    ASSERT_TRUE(mImages.WaitForImages(4, 5, 5s));
    // Every buffer ends up held by the driver, so no image event comes.
    ASSERT_EQ(TLICtl_InjectFault("DSQueueBuffer", GC_ERR_ERROR, 0, 0), GC_ERR_SUCCESS);
    std::this_thread::sleep_for(300ms);
    TLICtl_ClearFaults();
    const std::uint64_t after = mImages.Count(4);
    EXPECT_TRUE(mImages.WaitForImages(4, after + 10, 5s)) << mLog.Dump();
    mDriver->setProperty(0, 4, "continuous", 0);
}

}

namespace {

// The debug callback of a host that grabs from there: the wait thread ends
// single grabs meanwhile and logs while it does.
const DriverFunctions* gDriver = nullptr;
std::atomic<int> gGrabsFromLog{0};

void GrabWhileLogging(const char* text)
{
    TestSupport::LogCapture::Callback()(text);
    if (gDriver != nullptr && std::string(text).find("getProperty: portNo=") == 0) {
        gDriver->doCVLGrab(0, 5);
        const int grabs = ++gGrabsFromLog;
        if (grabs == 100 || grabs == 200) {
            gDriver->setProperty(0, 6, "continuous", grabs == 100 ? 1 : 0);
        }
    }
}

TEST_F(GrabWaysOutTest, GrabbingFromInsideTheDebugCallbackNeverDeadlocks)
{
    TLICtl_SetPacing(Kx1300, 0);
    TLICtl_SetPacing(Kx5000, 0);
    OpenForImages(Kx1300, 5);
    OpenForImages(Kx5000, 6);
    std::atomic<bool> running{true};
    mImages.OnImage(5, [&](std::uint64_t) {
        if (running) {
            mDriver->doCVLGrab(0, 5);
        }
    });
    ASSERT_EQ(mDriver->doCVLGrab(0, 5), 1);
    gDriver = &*mDriver;
    mDriver->setDebugMsgProc(&GrabWhileLogging);
    auto host = std::async(std::launch::async, [&] {
        const auto end = std::chrono::steady_clock::now() + 2s;
        while (std::chrono::steady_clock::now() < end) {
            int value = 0;
            mDriver->getProperty(0, 5, "Width", &value);
        }
    });
    if (host.wait_for(30s) != std::future_status::ready) {
        ADD_FAILURE() << "deadlock: the host's thread and the wait thread wait for each other";
        std::abort();
    }
    mDriver->setDebugMsgProc(TestSupport::LogCapture::Callback());
    gDriver = nullptr;
    running = false;
    mDriver->setProperty(0, 6, "continuous", 0);
    EXPECT_GT(gGrabsFromLog, 10);
    EXPECT_GT(mImages.Count(5), 10u) << mLog.Dump();
    EXPECT_TRUE(NextGrabIsServed(5));
}

}
