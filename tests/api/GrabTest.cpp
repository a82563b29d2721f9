// Grabbing through the exports: single and continuous images delivered on
// the wait thread, read row by row in the host's callback.
#include "CameraFixture.h"

#include "TLIControl.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <numeric>
#include <thread>

namespace {

using namespace std::chrono_literals;
using TestSupport::CameraFixture;
using TestSupport::Kx1300;
using TestSupport::Kx5000;

class GrabTest : public CameraFixture {
protected:
    GrabTest()
    {
        for (const char* camera : {Kx1300, Kx5000}) {
            Store(camera, "Width", "640");
            Store(camera, "Height", "480");
        }
    }

    // Back-to-back single grabs, the next asked for from inside the callback;
    // the images per second over the given time.
    double SingleGrabRate(std::initializer_list<int> ports, std::chrono::milliseconds time)
    {
        mRunning = true;
        for (int port : ports) {
            mImages.OnImage(port, [this, port](std::uint64_t) {
                if (mRunning) {
                    mDriver->doCVLGrab(0, port);
                }
            });
        }
        std::vector<std::uint64_t> before;
        for (int port : ports) {
            before.push_back(mImages.Count(port));
            mDriver->doCVLGrab(0, port);
        }
        std::this_thread::sleep_for(time);
        std::uint64_t slowest = ~std::uint64_t{0};
        std::size_t i = 0;
        for (int port : ports) {
            slowest = std::min(slowest, mImages.Count(port) - before[i++]);
        }
        mRunning = false;
        for (int port : ports) {
            mImages.OnImage(port, nullptr);
        }
        std::this_thread::sleep_for(200ms);
        return static_cast<double>(slowest) * 1000.0 / static_cast<double>(time.count());
    }

    // For the life of the test: a callback may still read it after the rate was taken.
    std::atomic<bool> mRunning{false};
};

TEST_F(GrabTest, ASingleGrabDeliversOneImageThenTheCameraIsIdle)
{
    OpenForImages(Kx1300, 3);
    ASSERT_EQ(mDriver->doCVLGrab(0, 3), 1);
    ASSERT_TRUE(mImages.WaitForImages(3, 1, 5s)) << mLog.Dump();
    EXPECT_TRUE(WaitForLog("Camera::ProcessEvent: Grab finished\n"));
    EXPECT_EQ(mImages.FrameNumbers(3), std::vector<std::uint32_t>{1});
    EXPECT_EQ(mImages.BadImages(3), 0u);
    EXPECT_TRUE(mLog.Contains("Camera::ProcessEvent: grab succesful. calling CB, port=3\n"));
    TLICtlStreamState state{};
    TLICtl_GetStreamState(Kx1300, &state);
    EXPECT_EQ(state.mCameraAcquiring, 0);

    // A frame after the stop reaches nobody; the next grab counts it as dropped.
    ASSERT_EQ(TLICtl_DeliverFrame(Kx1300), GC_ERR_SUCCESS);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(mImages.Count(3), 1u);
    ASSERT_EQ(mDriver->doCVLGrab(0, 3), 1);
    ASSERT_TRUE(mImages.WaitForImages(3, 2, 5s));
    EXPECT_TRUE(WaitForLog("Camera::ProcessEvent: Grab finished\n", mLog.Find("Camera::ProcessEvent: Grab finished\n") + 1));
    const auto stats = Stats(3);
    EXPECT_EQ(stats.frames, 3);
    EXPECT_EQ(stats.dropped, 1);
    EXPECT_EQ(mImages.BadImages(3), 0u);

    // Rows outside the image give nothing.
    unsigned char row[640];
    EXPECT_EQ(mDriver->getCVLGrabRow(0, 3, row, 480, 0, 639), 0);
    EXPECT_EQ(mDriver->getCVLGrabRow(0, 3, row, -1, 0, 639), 0);
    EXPECT_TRUE(mLog.Contains("ImageBuffer::GetLine: ERROR: line index out of range: 480\n"));
    EXPECT_EQ(mDriver->getCVLGrabRow(0, 3, row, 479, 0, 639), 1);
    const std::uint32_t frame = mImages.FrameNumbers(3).back();
    EXPECT_EQ(row[5], static_cast<unsigned char>((5 + 479 + frame) & 0xFF));
}

// A host that passes the row's width as its last column gets every row cut
// to the row, and one warning per image, not one per row.
TEST_F(GrabTest, ColumnsPastTheRowGiveTheRowCutToItsWidthWarnedOncePerImage)
{
    OpenForImages(Kx1300, 3);
    const auto warnings = [this] {
        const auto messages = mLog.Messages();
        return std::count_if(messages.begin(), messages.end(), [](const std::string& message) {
            return message.find("getCVLGrabRow: WARNING: ") != std::string::npos;
        });
    };
    unsigned char row[641];
    for (int image = 1; image <= 2; ++image) {
        ASSERT_EQ(mDriver->doCVLGrab(0, 3), 1);
        ASSERT_TRUE(mImages.WaitForImages(3, image, 5s)) << mLog.Dump();
        for (int y = 0; y < 480; ++y) {
            row[640] = 0xA5;
            ASSERT_EQ(mDriver->getCVLGrabRow(0, 3, row, y, 0, 640), 1) << "row " << y;
            ASSERT_EQ(row[640], 0xA5) << "nothing is written past the row";
        }
        const std::uint32_t frame = mImages.FrameNumbers(3).back();
        EXPECT_EQ(row[639], static_cast<unsigned char>((639 + 479 + frame) & 0xFF));
        EXPECT_EQ(warnings(), image) << mLog.Dump();
    }
    EXPECT_GE(mLog.FindContaining("getCVLGrabRow: WARNING: columns 0 to 640 do not fit a row of 640 bytes"), 0);

    // No columns copy nothing; a negative count or no destination give nothing.
    row[0] = 0x5A;
    EXPECT_EQ(mDriver->getCVLGrabRow(0, 3, row, 0, 10, 9), 1);
    EXPECT_EQ(row[0], 0x5A);
    EXPECT_EQ(mDriver->getCVLGrabRow(0, 3, row, 0, 10, 8), 0);
    EXPECT_EQ(mDriver->getCVLGrabRow(0, 3, nullptr, 0, 0, 639), 0);
}

TEST_F(GrabTest, ContinuousGrabbingDeliversEveryFrameOnceAndInOrder)
{
    TLICtl_SetPacing(Kx5000, 0);
    OpenForImages(Kx5000, 1);
    ASSERT_EQ(mDriver->setProperty(0, 1, "CONTINUOUS", 5), 1);
    int mode = 0;
    EXPECT_EQ(mDriver->getProperty(0, 1, "continous", &mode), 1);
    EXPECT_EQ(mode, 1);
    ASSERT_TRUE(mImages.WaitForImages(1, 300, 20s));
    ASSERT_EQ(mDriver->setProperty(0, 1, "continuous", 0), 1);
    const std::vector<std::uint32_t> frames = mImages.FrameNumbers(1);
    std::vector<std::uint32_t> expected(frames.size());
    std::iota(expected.begin(), expected.end(), 1u);
    EXPECT_EQ(frames, expected);
    EXPECT_EQ(mImages.BadImages(1), 0u);
    TLICtlStreamState state{};
    TLICtl_GetStreamState(Kx5000, &state);
    EXPECT_EQ(state.mLost, 0u);
    EXPECT_EQ(state.mCameraAcquiring, 0);
    EXPECT_TRUE(mLog.Contains("Camera::SetContinuousGrab: entering, mode=off\n"));

    mLog.Clear();
    ASSERT_EQ(mDriver->setProperty(0, 1, "continuous", 0), 1);
    EXPECT_TRUE(mLog.Contains("Camera::SetContinuousGrab has no effect -- the same mode is already active\n"));
}

TEST_F(GrabTest, ImagesWithoutACallbackAreCountedAsDropped)
{
    ASSERT_EQ(Open(Kx1300, 0), 1);
    ASSERT_EQ(mDriver->doCVLGrab(0, 0), 1);
    EXPECT_TRUE(WaitForLog("Camera::ProcessEvent: ERROR: callback is not assigned, port=0\n"));
    EXPECT_TRUE(WaitForLog("Camera::ProcessEvent: Grab finished\n"));
    const auto stats = Stats(0);
    EXPECT_EQ(stats.frames, 1);
    EXPECT_EQ(stats.dropped, 1);
    EXPECT_EQ(stats.grabInProgress, 0);
    mLog.Clear();
    ASSERT_EQ(mDriver->setProperty(0, 0, "ResetStats", 0), 1);
    EXPECT_EQ(Stats(0).frames, 0);
    EXPECT_TRUE(mLog.Contains("Camera statistics\nFrames:\t\t0\nDropped:\t\t0\nGrabInProgress:\t0\n"));
}

// A host asks for the next image from inside its callback: no request is lost.
TEST_F(GrabTest, EveryGrabAskedForFromTheCallbackIsServed)
{
    TLICtl_SetPacing(Kx1300, 0);
    OpenForImages(Kx1300, 2);
    mImages.OnImage(2, [this](std::uint64_t count) {
        if (count < 200) {
            mDriver->doCVLGrab(0, 2);
        }
    });
    ASSERT_EQ(mDriver->doCVLGrab(0, 2), 1);
    EXPECT_TRUE(mImages.WaitForImages(2, 200, 60s)) << "images: " << mImages.Count(2);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(mImages.Count(2), 200u);
    EXPECT_EQ(mImages.BadImages(2), 0u);
}

// The stop that ends a single grab does not pause the wait thread, so two
// cameras grabbing at once each keep their own pace.
TEST_F(GrabTest, TwoCamerasGrabbingSinglesKeepTheirRates)
{
    // Small images: the cameras' frame times, not the copies, set the pace.
    for (const char* camera : {Kx1300, Kx5000}) {
        Store(camera, "Width", "64");
        Store(camera, "Height", "48");
    }
    OpenForImages(Kx1300, 0, false);
    OpenForImages(Kx5000, 1, false);
    const double alone1300 = SingleGrabRate({0}, 2000ms);
    const double alone5000 = SingleGrabRate({1}, 2000ms);
    const std::uint64_t before1300 = mImages.Count(0);
    const std::uint64_t before5000 = mImages.Count(1);
    SingleGrabRate({0, 1}, 2000ms);
    const double both1300 = (mImages.Count(0) - before1300) / 2.0;
    const double both5000 = (mImages.Count(1) - before5000) / 2.0;
    EXPECT_GT(alone1300, 10.0);
    EXPECT_GE(both1300, 0.9 * alone1300) << "alone " << alone1300;
    EXPECT_GE(both5000, 0.9 * alone5000) << "alone " << alone5000;
}

TEST_F(GrabTest, TwentyCamerasGrabbingAtOnceAllDeliver)
{
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i) {
        names.push_back("Line " + std::to_string(i));
    }
    mDriver->finalize();
    TestSupport::ProducerState::Use({{"eth0", names}});
    ASSERT_EQ(mDriver->initialize(mFolder.Path().c_str(), TestSupport::LogCapture::Callback()), 1);
    for (int port = 0; port < 20; ++port) {
        Store(names[port].c_str(), "Width", "64");
        Store(names[port].c_str(), "Height", "48");
        OpenForImages(names[port].c_str(), port);
    }
    for (int port = 0; port < 20; ++port) {
        ASSERT_EQ(mDriver->setProperty(0, port, "continuous", 1), 1);
    }
    for (int port = 0; port < 20; ++port) {
        EXPECT_TRUE(mImages.WaitForImages(port, 3, 20s)) << "port " << port;
        EXPECT_EQ(mImages.BadImages(port), 0u);
    }
    EXPECT_TRUE(mLog.Contains("CameraWaitThread::AddWaitCameras: reached camera limit 22\n"));
    // Stopped from a thread each, as hosts do, so the settling pauses overlap.
    std::vector<std::thread> stops;
    for (int port = 0; port < 20; ++port) {
        stops.emplace_back([this, port] { mDriver->setProperty(0, port, "continuous", 0); });
    }
    for (std::thread& stop : stops) {
        stop.join();
    }
}

TEST_F(GrabTest, ACameraWhoseImagesAlwaysWaitDoesNotStarveTheOthers)
{
    // Both cameras send a frame whenever a buffer is queued, and the host is
    // slow with port 0's images, so that camera always has the next one
    // waiting when the wait thread looks again.
    for (const char* camera : {Kx1300, Kx5000}) {
        Store(camera, "Width", "64");
        Store(camera, "Height", "48");
        ASSERT_EQ(TLICtl_SetPacing(camera, 0), GC_ERR_SUCCESS);
    }
    OpenForImages(Kx1300, 0);
    OpenForImages(Kx5000, 1);
    mImages.OnImage(0, [](std::uint64_t) { std::this_thread::sleep_for(1ms); });
    ASSERT_EQ(mDriver->setProperty(0, 0, "continuous", 1), 1);
    ASSERT_EQ(mDriver->setProperty(0, 1, "continuous", 1), 1);
    std::this_thread::sleep_for(1s);
    const std::uint64_t slow = mImages.Count(0);
    const std::uint64_t fast = mImages.Count(1);
    mDriver->setProperty(0, 0, "continuous", 0);
    mDriver->setProperty(0, 1, "continuous", 0);
    EXPECT_GT(slow, 20u);
    EXPECT_GE(fast, slow / 2) << "the camera on port 0 delivered " << slow;
    EXPECT_EQ(mImages.BadImages(0) + mImages.BadImages(1), 0u);
}

TEST_F(GrabTest, FinalizeWhileCamerasGrabLetsEveryDeliveryReadItsRows)
{
    // The first camera takes half a second to close; the second goes on
    // delivering meanwhile unless finalize stops every delivery first.
    OpenForImages(Kx1300, 0);
    OpenForImages(Kx5000, 1);
    ASSERT_EQ(mDriver->setProperty(0, 0, "continuous", 1), 1);
    ASSERT_EQ(mDriver->setProperty(0, 1, "continuous", 1), 1);
    ASSERT_TRUE(mImages.WaitForImages(1, 2, 5s));
    const int from = static_cast<int>(mLog.Messages().size());
    EXPECT_EQ(mDriver->finalize(), 1);
    EXPECT_EQ(mImages.BadImages(0) + mImages.BadImages(1), 0u);
    EXPECT_LT(mLog.FindContaining("null pointer", from), 0) << mLog.Dump();
}

TEST_F(GrabTest, AFailedStopLeavesNothingRegistered)
{
    OpenForImages(Kx1300, 5);
    ASSERT_EQ(mDriver->setProperty(0, 5, "continuous", 1), 1);
    ASSERT_TRUE(mImages.WaitForImages(5, 2, 5s));
    // The camera stops answering while the acquisition is stopped.
    TLICtl_InjectFault("GCWriteData", GC_ERR_TIMEOUT, 0, 1);
    mDriver->setProperty(0, 5, "continuous", 0);
    EXPECT_GE(mLog.FindContaining("Camera::MakeGrabbing: ERROR: exception caught, mode=0, port=5"), 0) << mLog.Dump();
    mDriver->closeCVLPort(0, 5);
    std::this_thread::sleep_for(200ms);
    ASSERT_EQ(Open(Kx1300, 5), 1);
    mImages.Expect(5, mSize[0], mSize[1]);
    ASSERT_EQ(mDriver->setCompleteCallback(0, 5, TestSupport::ImageReceiver::Callback()), 1);
    const std::uint64_t before = mImages.Count(5);
    ASSERT_EQ(mDriver->doCVLGrab(0, 5), 1);
    EXPECT_TRUE(mImages.WaitForImages(5, before + 1, 5s));
}

TEST_F(GrabTest, AHostMayCloseTheCameraFromInsideItsCallback)
{
    OpenForImages(Kx1300, 4);
    mImages.OnImage(4, [this](std::uint64_t) { mDriver->closeCVLPort(0, 4); });
    ASSERT_EQ(mDriver->doCVLGrab(0, 4), 1);
    ASSERT_TRUE(mImages.WaitForImages(4, 1, 5s));
    EXPECT_TRUE(WaitForLog("Camera::Close: leaving on port 4\n"));
    EXPECT_EQ(mLog.Find("Camera::ProcessEvent: Grab finished\n"), -1);
    int value = 0;
    EXPECT_EQ(mDriver->getProperty(0, 4, "Width", &value), 0);
    ASSERT_EQ(Open(Kx1300, 4), 1);
}

// Closing from another thread waits for the image being delivered.
TEST_F(GrabTest, ClosingWaitsForTheDeliveryInProgress)
{
    OpenForImages(Kx1300, 4);
    std::atomic<bool> inCallback{false};
    std::atomic<int> rowAfterWait{-1};
    mImages.OnImage(4, [&](std::uint64_t) {
        inCallback = true;
        std::this_thread::sleep_for(300ms);
        unsigned char row[640];
        rowAfterWait = mDriver->getCVLGrabRow(0, 4, row, 10, 0, 639);
    });
    ASSERT_EQ(mDriver->doCVLGrab(0, 4), 1);
    while (!inCallback) {
        std::this_thread::sleep_for(1ms);
    }
    mDriver->closeCVLPort(0, 4);
    EXPECT_EQ(rowAfterWait, 1) << "the image buffer outlived the delivery";
    EXPECT_TRUE(mLog.Contains("Camera::Close: leaving on port 4\n"));
}

TEST_F(GrabTest, ResetReopensOnTheSamePortKeepingModeAndCallback)
{
    OpenForImages(Kx1300, 8);
    ASSERT_EQ(mDriver->setProperty(0, 8, "continuous", 1), 1);
    ASSERT_TRUE(mImages.WaitForImages(8, 1, 5s));
    Store(Kx1300, "Width", "320");
    ASSERT_EQ(mDriver->setProperty(0, 8, "Reset", 0), 1) << mLog.Dump();
    int value = 0;
    EXPECT_EQ(mDriver->getProperty(0, 8, "continuous", &value), 1);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(mDriver->getProperty(0, 8, "Width", &value), 1);
    EXPECT_EQ(value, 320);
    TLICtlStreamState state{};
    TLICtl_GetStreamState(Kx1300, &state);
    EXPECT_EQ(state.mCameraAcquiring, 0) << "not grabbing after the reset";
    mImages.Expect(8, 320, 480);
    const std::uint64_t before = mImages.Count(8);
    ASSERT_EQ(mDriver->setProperty(0, 8, "continuous", 0), 1);
    ASSERT_EQ(mDriver->doCVLGrab(0, 8), 1);
    EXPECT_TRUE(mImages.WaitForImages(8, before + 1, 5s)) << "the callback stayed set";
}

}

namespace {

// Closing from inside the debug callback would wait for a delivery that
// waits to log through that same callback: it is refused.
const DriverFunctions* gDriver = nullptr;
std::atomic<int> gCloseDuringLog{0};
std::atomic<int> gResetResult{-1};

void CloseWhileLogging(const char* text)
{
    TestSupport::LogCapture::Callback()(text);
    if (std::string(text).find("Camera::ProcessEvent: grab succesful") != std::string::npos && gDriver != nullptr) {
        ++gCloseDuringLog;
        gDriver->closeCVLPort(0, 6);
        gResetResult = gDriver->setProperty(0, 6, "Reset", 0);
    }
}

TEST_F(GrabTest, NoCloseFromInsideTheDebugCallback)
{
    OpenForImages(Kx1300, 6);
    gDriver = &*mDriver;
    mDriver->setDebugMsgProc(&CloseWhileLogging);
    ASSERT_EQ(mDriver->doCVLGrab(0, 6), 1);
    ASSERT_TRUE(mImages.WaitForImages(6, 1, 5s));
    EXPECT_TRUE(WaitForLog("Camera::ProcessEvent: Grab finished\n"));
    mDriver->setDebugMsgProc(TestSupport::LogCapture::Callback());
    gDriver = nullptr;
    EXPECT_EQ(gCloseDuringLog, 1);
    EXPECT_EQ(gResetResult, 0);
    EXPECT_GE(mLog.Find("closeCVLPort: ERROR: called from inside a driver callback\n"), 0);
    int value = 0;
    EXPECT_EQ(mDriver->getProperty(0, 6, "Width", &value), 1) << "still open";
}

}

namespace {

// A completion callback is a driver callback too: initialize and finalize
// made from inside it change nothing.
TEST_F(GrabTest, NoInitializeOrFinalizeFromInsideTheCompletionCallback)
{
    OpenForImages(Kx1300, 7);
    std::atomic<int> initializeResult{-1};
    std::atomic<int> finalizeResult{-1};
    mImages.OnImage(7, [&](std::uint64_t) {
        initializeResult = mDriver->initialize(nullptr, nullptr);
        finalizeResult = mDriver->finalize();
    });
    ASSERT_EQ(mDriver->doCVLGrab(0, 7), 1);
    ASSERT_TRUE(mImages.WaitForImages(7, 1, 5s));
    EXPECT_TRUE(WaitForLog("Camera::ProcessEvent: Grab finished\n"));
    EXPECT_EQ(initializeResult, 0);
    EXPECT_EQ(finalizeResult, 0);
    EXPECT_TRUE(mLog.Contains("initialize: ERROR: called from inside a driver callback\n"));
    EXPECT_TRUE(mLog.Contains("finalize: ERROR: called from inside a driver callback\n"));
    EXPECT_EQ(mDriver->getCVLNoOfSupportedCameras(), 2) << "the list is still there";
}

}
