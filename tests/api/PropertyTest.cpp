// Camera properties by name through the exports: the fixed names, and the
// camera's parameters mapped onto the host's ints.
#include "CameraFixture.h"

#include "TLIControl.h"

namespace {

using TestSupport::CameraFixture;
using TestSupport::Kx1300;
using TestSupport::Kx5000;

class PropertyTest : public CameraFixture {
protected:
    int Get(const char* name, int fallback = -12345)
    {
        int value = fallback;
        return mDriver->getProperty(0, 0, name, &value) == 1 ? value : fallback;
    }
    std::pair<int, int> Range(const char* name)
    {
        int minimum = -1;
        int maximum = -1;
        if (mDriver->getPropertyRange(0, 0, name, &minimum, &maximum) != 1) {
            return {-12345, -12345};
        }
        return {minimum, maximum};
    }
};

TEST_F(PropertyTest, ParametersMapOntoTheHostsInts)
{
    ASSERT_EQ(Open(Kx1300, 0), 1);
    EXPECT_EQ(Get("pixelsize"), 8);
    EXPECT_EQ(Get("PIXELSIZE"), 8);
    EXPECT_EQ(Get("width"), 1280);
    EXPECT_EQ(Range("Width"), std::make_pair(16, 1280));
    EXPECT_EQ(Range("PixelSize"), std::make_pair(-12345, -12345)) << "fixed names have no range";
    EXPECT_EQ(Range("PrintStats"), std::make_pair(-12345, -12345));
    EXPECT_TRUE(mLog.Contains("Camera::GetRange: leaving prop=Width min=16   max=1280 \n"));

    // Floating point: the value and limits cut toward zero.
    EXPECT_EQ(Get("GainAbs"), 1);
    EXPECT_EQ(Range("GainAbs"), std::make_pair(1, 16));
    ASSERT_EQ(mDriver->setProperty(0, 0, "GainAbs", 7), 1);
    EXPECT_EQ(Get("GainAbs"), 7);

    // Booleans and enumerations.
    EXPECT_EQ(Range("TriggerMode"), std::make_pair(0, 1));
    ASSERT_EQ(mDriver->setProperty(0, 0, "TriggerSource", 7), 1);
    EXPECT_EQ(Get("TriggerSource"), 7);
    EXPECT_EQ(Register(Kx1300, "TriggerSourceReg"), 7) << "a written parameter reaches the camera at once";
    ASSERT_EQ(mDriver->setProperty(0, 0, "TriggerSource", 5), 1) << "no entry has 5: the value stays";
    EXPECT_EQ(Get("TriggerSource"), 7);

    // Names the camera does not know.
    EXPECT_EQ(Get("NoSuchFeature"), -12345);
    EXPECT_EQ(mDriver->setProperty(0, 0, "NoSuchFeature", 1), 0);
    EXPECT_EQ(mDriver->setProperty(0, 0, nullptr, 1), 0);
    EXPECT_EQ(Range("DeviceFirmwareVersion"), std::make_pair(-12345, -12345)) << "a text has no int value";
}

TEST_F(PropertyTest, AValueTheCameraRefusesFailsTheCall)
{
    ASSERT_EQ(Open(Kx1300, 0), 1);
    mLog.Clear();
    EXPECT_EQ(mDriver->setProperty(0, 0, "OffsetX", 5000), 0);
    EXPECT_GE(mLog.FindContaining("setProperty: --EXCEPTION caught grabberNo=0, portNo=0, property=OffsetX, value=5000: "),
              0)
        << mLog.Dump();
    EXPECT_EQ(Get("OffsetX"), 5000) << "kept, for the next open";
    EXPECT_EQ(Register(Kx1300, "OffsetXReg"), 0);
    // The image size cannot change while the camera streams: not written, the
    // call fails, and the parameter keeps the camera's value.
    EXPECT_EQ(mDriver->setProperty(0, 0, "Width", 640), 0);
    EXPECT_TRUE(mLog.Contains("Device::ApplyParameter: Skipped 'Width' read-only parameter\n"));
    EXPECT_EQ(Register(Kx1300, "WidthReg"), 1280);
    EXPECT_EQ(Get("Width"), 1280);
    // The next open still writes what the settings file holds.
    Store(Kx1300, "Width", "640");
    ASSERT_EQ(mDriver->setProperty(0, 0, "Reset", 0), 1) << mLog.Dump();
    EXPECT_EQ(Register(Kx1300, "WidthReg"), 640);
}

TEST_F(PropertyTest, FixedNamesActOnTheCameraAndTheDriver)
{
    ASSERT_EQ(Open(Kx5000, 0), 1);
    mLog.Clear();
    ASSERT_EQ(mDriver->setProperty(0, 0, "PrintStats", 0), 1);
    EXPECT_TRUE(mLog.Contains("Camera statistics\nFrames:\t\t0\nDropped:\t\t0\nGrabInProgress:\t0\n"));
    ASSERT_EQ(mDriver->setProperty(0, 0, "ResetStats", 0), 1);

    // Timing entries are driver-wide and reach the log file.
    ASSERT_EQ(mDriver->setProperty(0, 0, "LogTimings", 1), 1);
    ASSERT_EQ(mDriver->setCompleteCallback(0, 0, TestSupport::ImageReceiver::Callback()), 1);
    mImages.Expect(0, mSize[0], mSize[1]);
    ASSERT_EQ(mDriver->doCVLGrab(0, 0), 1);
    ASSERT_TRUE(mImages.WaitForImages(0, 1, std::chrono::seconds(5)));
    // The file is written after the callback returned, before the grab's stop.
    ASSERT_TRUE(WaitForLog("Camera::ProcessEvent: Grab finished\n"));
    ASSERT_EQ(mDriver->setProperty(0, 0, "logtimings", 0), 1);
    const std::string log = TestSupport::ReadFile(mFolder.File("kavrix.log"));
    EXPECT_NE(log.find(std::string("\t") + Kx5000 + "\tframe received"), std::string::npos) << log;
    EXPECT_NE(log.find(std::string("\t") + Kx5000 + "\timage received at "), std::string::npos);

    // A driver setting is a parameter too: it changes in memory only.
    ASSERT_EQ(mDriver->setProperty(0, 0, "LogLevel", 2), 1);
    EXPECT_TRUE(mLog.Contains("Device::ApplyParameter: There is no 'LogLevel' node\n"));
    EXPECT_EQ(Get("LogLevel"), 2);
    EXPECT_EQ(Range("LogLevel"), std::make_pair(0, 4));
}

}
