// Producer failures while a camera opens, grabs and closes: the open fails
// with its lines and leaves the camera closed, unbound and reopenable; the
// host never crashes and nothing leaks.
#include "CameraFixture.h"

#include "TLIControl.h"

#include <thread>

namespace {

using namespace std::chrono_literals;
using TestSupport::CameraFixture;
using TestSupport::Kx1300;

class CameraFaultTest : public CameraFixture {
protected:
    CameraFaultTest()
    {
        Store(Kx1300, "Width", "64");
        Store(Kx1300, "Height", "48");
    }

    // The calls of each operation that one open, one grab and one close make.
    std::vector<std::pair<std::string, std::int64_t>> CallsOfOneCycle()
    {
        const char* operations[] = {"TLOpenDevice", "DevGetInfo", "GCGetURL", "GCReadData", "GCWriteData",
                                    "DevCreateDataStream", "DSAnnounceBuffer", "DSQueueBuffer",
                                    "DSStartAcquisition", "GCRegisterEvent", "GCGetEventData", "GCUnregisterEvent",
                                    "DSStopAcquisition", "DSRevokeBuffer", "DSClose", "DevClose"};
        std::vector<std::int64_t> before;
        for (const char* operation : operations) {
            before.push_back(TLICtl_CallCount(operation));
        }
        Cycle();
        std::vector<std::pair<std::string, std::int64_t>> calls;
        for (std::size_t i = 0; i < before.size(); ++i) {
            calls.emplace_back(operations[i], TLICtl_CallCount(operations[i]) - before[i]);
        }
        return calls;
    }

    // Open, one single grab, close; true when the open succeeded.
    bool Cycle()
    {
        if (Open(Kx1300, 3) != 1) {
            return false;
        }
        mImages.Expect(3, mSize[0], mSize[1]);
        mDriver->setCompleteCallback(0, 3, TestSupport::ImageReceiver::Callback());
        const std::uint64_t before = mImages.Count(3);
        mDriver->doCVLGrab(0, 3);
        mImages.WaitForImages(3, before + 1, 1s);
        mDriver->closeCVLPort(0, 3);
        return true;
    }
};

TEST_F(CameraFaultTest, EveryProducerCallOfACycleMayFail)
{
    const auto calls = CallsOfOneCycle();
    int failedOpens = 0;
    for (const auto& [operation, count] : calls) {
        // Each call of the cycle fails once in turn (many calls: a spread of them).
        const std::int64_t step = count > 24 ? count / 12 : 1;
        for (std::int64_t skip = 0; skip < count; skip += step) {
            SCOPED_TRACE(operation + " call " + std::to_string(skip + 1));
            mLog.Clear();
            TLICtl_InjectFault(operation.c_str(), GC_ERR_TIMEOUT, static_cast<std::uint32_t>(skip), 1);
            if (!Cycle()) {
                ++failedOpens;
                EXPECT_GE(mLog.FindContaining("Camera::Open: EXCEPTION catch...throw again, port 3"), 0)
                    << mLog.Dump();
                EXPECT_GE(mLog.FindContaining("openCVLPort: --EXCEPTION caught grabberNo=0, portNo=3"), 0);
                int value = 0;
                EXPECT_EQ(mDriver->getProperty(0, 3, "Width", &value), 0) << "unbound";
            }
            TLICtl_ClearFaults();
            // Whatever failed, the camera opens again and delivers.
            ASSERT_TRUE(Cycle()) << mLog.Dump();
            TLICtlStreamState state{};
            TLICtl_GetStreamState(Kx1300, &state);
            EXPECT_EQ(state.mDeviceOpen, 0);
            EXPECT_EQ(state.mAnnounced, 0u);
        }
    }
    EXPECT_GT(failedOpens, 10);
    EXPECT_EQ(mImages.StrayCalls(), 0u);
}

TEST_F(CameraFaultTest, ContinuousGrabbingSurvivesPassingStreamErrors)
{
    TLICtl_SetPacing(Kx1300, 0);
    OpenForImages(Kx1300, 2);
    ASSERT_EQ(mDriver->setProperty(0, 2, "continuous", 1), 1);
    ASSERT_TRUE(mImages.WaitForImages(2, 10, 5s));
    // A requeue the producer refuses, repeatedly: the buffers are kept and
    // queued again, so the stream never runs dry.
    for (int round = 0; round < 6; ++round) {
        TLICtl_InjectFault("DSQueueBuffer", GC_ERR_TIMEOUT, 0, 1);
        const std::uint64_t before = mImages.Count(2);
        EXPECT_TRUE(mImages.WaitForImages(2, before + 20, 5s)) << "round " << round;
    }
    EXPECT_GE(mLog.FindContaining("the buffer is queued again with the next image"), 0) << mLog.Dump();
    // A failed event fetch costs that image only.
    TLICtl_InjectFault("GCGetEventData", GC_ERR_TIMEOUT, 0, 1);
    const std::uint64_t before = mImages.Count(2);
    EXPECT_TRUE(mImages.WaitForImages(2, before + 20, 5s));
    EXPECT_TRUE(mLog.Contains("Camera::ProcessEvent exception caught: 1\n"));
    ASSERT_EQ(mDriver->setProperty(0, 2, "continuous", 0), 1);
    EXPECT_EQ(mImages.BadImages(2), 0u);
}

TEST_F(CameraFaultTest, ACloseThatFailsStillLeavesTheCameraClosedAndReopenable)
{
    for (const char* operation : {"DSStopAcquisition", "DSRevokeBuffer", "DSClose", "DevClose"}) {
        SCOPED_TRACE(operation);
        ASSERT_EQ(Open(Kx1300, 1), 1);
        mLog.Clear();
        TLICtl_InjectFault(operation, GC_ERR_ERROR, 0, 1);
        mDriver->closeCVLPort(0, 1);
        EXPECT_TRUE(mLog.Contains("Camera::CleanupOnClose: WARNING: exception point1 caught\n")) << mLog.Dump();
        EXPECT_TRUE(mLog.Contains("Camera::Close: leaving on port 1\n"));
        TLICtl_ClearFaults();
        ASSERT_EQ(Open(Kx1300, 1), 1) << mLog.Dump();
        mDriver->closeCVLPort(0, 1);
        TLICtlStreamState state{};
        TLICtl_GetStreamState(Kx1300, &state);
        EXPECT_EQ(state.mDeviceOpen, 0);
    }
}

}
