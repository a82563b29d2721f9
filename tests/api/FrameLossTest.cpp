// Frames a network camera could not deliver whole, and a camera that stops
// answering: counted, reported without flooding the log, and a single grab
// still answered.
#include "CameraFixture.h"

#include "TLIControl.h"

#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;
using TestSupport::CameraFixture;
using TestSupport::Kx1300;

class FrameLossTest : public CameraFixture {
protected:
    FrameLossTest()
    {
        Store(Kx1300, "Width", "320");
        Store(Kx1300, "Height", "240");
    }

    // A frame that missed packets arrives in the camera's oldest queued
    // buffer, once the driver has given one back.
    void IncompleteFrame()
    {
        TLICtlStreamState state{};
        for (int wait = 0; wait < 250 && (TLICtl_GetStreamState(Kx1300, &state), state.mQueued == 0); ++wait) {
            std::this_thread::sleep_for(20ms);
        }
        ASSERT_EQ(TLICtl_InjectEventRecord(Kx1300, GC_ERR_INCOMPLETE_FRAME, 0), GC_ERR_SUCCESS);
    }
};

TEST_F(FrameLossTest, ASingleGrabWhoseFrameCameIncompleteIsTakenAgain)
{
    OpenForImages(Kx1300, 0);
    ASSERT_EQ(mDriver->doCVLGrab(0, 0), 1);
    IncompleteFrame();
    ASSERT_TRUE(mImages.WaitForImages(0, 1, 5s)) << mLog.Dump();
    EXPECT_EQ(mImages.FrameNumbers(0), std::vector<std::uint32_t>{1}) << "the frame of the new acquisition";
    EXPECT_GE(mLog.Find("Camera::ProcessEvent: WARNING: frame dropped: packets missing, port=0\n"), 0);
    EXPECT_TRUE(WaitForLog("Camera::ProcessEvent: Grab finished\n"));
    const auto stats = Stats(0);
    EXPECT_EQ(stats.dropped, 1);

    // A camera that never sends a whole frame: the grab ends with an error,
    // not a host waiting for ever.
    SetRegister(Kx1300, "TriggerModeReg", 1);
    ASSERT_EQ(mDriver->doCVLGrab(0, 0), 1);
    for (int frame = 0; frame < 4; ++frame) {
        std::this_thread::sleep_for(100ms);
        IncompleteFrame();
    }
    EXPECT_TRUE(WaitForLog("Camera::ProcessEvent: ERROR: no complete frame for the grab after 4 tries, port=0\n"))
        << mLog.Dump();
    EXPECT_EQ(mImages.Count(0), 1u);
}

TEST_F(FrameLossTest, LostFramesAreCountedAndReportedOnceASecondAndALostCameraStopsGrabbing)
{
    OpenForImages(Kx1300, 1);
    SetRegister(Kx1300, "TriggerModeReg", 1);
    ASSERT_EQ(mDriver->setProperty(0, 1, "continuous", 1), 1);
    for (int frame = 0; frame < 10; ++frame) {
        IncompleteFrame();
    }
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(Stats(1).dropped, 10);
    int reports = 0;
    for (const std::string& message : mLog.Messages()) {
        reports += message.find("Camera::ProcessEvent: WARNING:") == 0 ? 1 : 0;
    }
    EXPECT_EQ(reports, 1) << mLog.Dump();

    ASSERT_EQ(TLICtl_InjectEventRecord(Kx1300, GC_ERR_DEVICE_LOST, 1), GC_ERR_SUCCESS);
    EXPECT_TRUE(WaitForLog("Camera::ProcessEvent: ERROR: the camera stopped answering, port=1\n")) << mLog.Dump();
    TLICtlStreamState state{};
    for (int wait = 0; wait < 100 && (TLICtl_GetStreamState(Kx1300, &state), state.mCameraAcquiring != 0); ++wait) {
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_EQ(state.mCameraAcquiring, 0) << "grabbing stopped";
}

}
