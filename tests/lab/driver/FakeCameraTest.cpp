// The driver as a host meets it, on a real network: Aravis's fake GigE Vision
// camera in the lab, reached through our GigE Vision producer. Listed, opened
// with stored settings, its properties set, its images compared with the
// fake camera's own pattern, a second host refused, a camera that dies
// reported, a camera on another subnet listed but not opened.
#include "DriverLibrary.h"
#include "os/Profile.h"
#include "os/System.h"
#include "support/LoadedDriver.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using TestSupport::LogCapture;

const char Camera[] = "Aravis Fake (GV01)";
constexpr int Side = 512;

void Anchor() {}

std::string BinFolder()
{
    return Os::ModuleFolder(reinterpret_cast<const void*>(&Anchor));
}

// The host's side of the images: every row read in the callback, each image
// compared with the fake camera's Mono8 pattern, (x + y + block id) mod 255
// (at gain 0 and the exposure of 10 ms, where its scale is 1).
struct Images {
    std::mutex lock;
    std::condition_variable arrived;
    const DriverFunctions* driver = nullptr;
    int port = 0;
    std::vector<unsigned char> image = std::vector<unsigned char>(Side * Side);
    int count = 0;
    int bad = 0;
};
Images sImages;

bool IsFakePattern(const std::vector<unsigned char>& image)
{
    const int block = image[0];
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            if (image[static_cast<std::size_t>(y) * Side + x] != (x + y + block) % 255) {
                return false;
            }
        }
    }
    return true;
}

int Receive(int, int port)
{
    std::lock_guard<std::mutex> guard(sImages.lock);
    bool good = port == sImages.port;
    for (int row = 0; good && row < Side; ++row) {
        good = sImages.driver->getCVLGrabRow(0, port, &sImages.image[static_cast<std::size_t>(row) * Side], row, 0,
                                             Side - 1) == 1;
    }
    sImages.bad += good && IsFakePattern(sImages.image) ? 0 : 1;
    ++sImages.count;
    sImages.arrived.notify_all();
    return 0;
}

class FakeCameraTest : public ::testing::Test {
protected:
    FakeCameraTest()
    {
        Os::SetEnvironment("KAVRIX_TLI", Producer().c_str());
        Store("General", "LogLevel", "3");
        Store(Camera, "Width", std::to_string(Side));
        Store(Camera, "Height", std::to_string(Side));
        EXPECT_EQ(mDriver->initialize(mFolder.Path().c_str(), LogCapture::Callback()), 1);
        std::lock_guard<std::mutex> guard(sImages.lock);
        sImages.driver = &*mDriver;
        sImages.count = 0;
        sImages.bad = 0;
    }
    ~FakeCameraTest() override { mDriver->finalize(); }

    static std::string Producer()
    {
        return BinFolder() + Os::PathSeparator + "gige" + Os::PathSeparator + Os::SharedLibrary::FileName("tli");
    }
    void Store(const char* section, const char* key, const std::string& value) const
    {
        ASSERT_TRUE(Os::WriteProfileString(section, key, value, mFolder.File("Kavrix.ini")));
    }
    int Open(int port)
    {
        int size[2] = {0, 0};
        const int opened = mDriver->openCVLPort(0, port, Camera, size);
        if (opened == 1) {
            EXPECT_EQ(size[0], Side);
            EXPECT_EQ(size[1], Side);
            std::lock_guard<std::mutex> guard(sImages.lock);
            sImages.port = port;
            EXPECT_EQ(mDriver->setCompleteCallback(0, port, &Receive), 1);
        }
        return opened;
    }
    bool WaitForImages(int count, std::chrono::milliseconds timeout)
    {
        std::unique_lock<std::mutex> guard(sImages.lock);
        return sImages.arrived.wait_for(guard, timeout, [&] { return sImages.count >= count; });
    }
    int Count()
    {
        std::lock_guard<std::mutex> guard(sImages.lock);
        return sImages.count;
    }
    int Bad()
    {
        std::lock_guard<std::mutex> guard(sImages.lock);
        return sImages.bad;
    }
    int Property(int port, const char* name)
    {
        int value = -1;
        EXPECT_EQ(mDriver->getProperty(0, port, name, &value), 1) << name;
        return value;
    }
    bool WaitForLog(const std::string& text, std::chrono::milliseconds timeout)
    {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (mLog.FindContaining(text) < 0) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            std::this_thread::sleep_for(20ms);
        }
        return true;
    }

    TestSupport::TempFolder mFolder;
    LogCapture mLog;
    TestSupport::LoadedDriver mDriver;
};

TEST_F(FakeCameraTest, IsListedOpensWithStoredSettingsAndAnswersItsProperties)
{
    const char** names = mDriver->getCVLCameraConfigNames();
    ASSERT_NE(names[0], nullptr) << mLog.Dump();
    EXPECT_EQ(std::string(names[0]), Camera);
    ASSERT_EQ(Open(0), 1) << mLog.Dump();
    EXPECT_GE(mLog.FindContaining("DataStream::Create: INFO: 8 grab buffers (setting 5)"), 0)
        << "as many as the producer recommends for frames kept open for resend";
    EXPECT_EQ(Property(0, "Width"), Side);
    EXPECT_EQ(Property(0, "Height"), Side);
    EXPECT_EQ(Property(0, "ExposureTimeAbs"), 10000);
    EXPECT_EQ(mDriver->setProperty(0, 0, "ExposureTimeAbs", 12000), 1) << mLog.Dump();
    EXPECT_EQ(Property(0, "ExposureTimeAbs"), 12000);
    EXPECT_EQ(mDriver->setProperty(0, 0, "ExposureTimeAbs", 10000), 1);
    EXPECT_EQ(mDriver->setProperty(0, 0, "Width", 256), 1) << mLog.Dump();
    EXPECT_EQ(Property(0, "Width"), 256);
    EXPECT_EQ(mDriver->setProperty(0, 0, "Width", Side), 1);
    // GainRaw is one of the features the driver never makes a parameter of,
    // on any camera: no property.
    int gain = -1;
    EXPECT_EQ(mDriver->getProperty(0, 0, "GainRaw", &gain), 0);
    EXPECT_EQ(mDriver->setProperty(0, 0, "GainRaw", 1), 0);
    int low = 0;
    int high = 0;
    EXPECT_EQ(mDriver->getPropertyRange(0, 0, "Width", &low, &high), 1);
    EXPECT_EQ(high, 2048);
}

TEST_F(FakeCameraTest, SingleAndContinuousImagesAreTheCamerasPattern)
{
    ASSERT_EQ(Open(1), 1) << mLog.Dump();
    for (int grab = 1; grab <= 100; ++grab) {
        ASSERT_EQ(mDriver->doCVLGrab(0, 1), 1);
        ASSERT_TRUE(WaitForImages(grab, 5s)) << "single grab " << grab << "\n" << mLog.Dump();
    }
    ASSERT_EQ(mDriver->setProperty(0, 1, "continuous", 1), 1);
    EXPECT_TRUE(WaitForImages(100 + 300, 30s)) << Count() << " images\n" << mLog.Dump();
    ASSERT_EQ(mDriver->setProperty(0, 1, "continuous", 0), 1);
    EXPECT_EQ(Bad(), 0);
    // The producer's own count of the stream: every frame whole.
    const int from = static_cast<int>(mLog.Messages().size());
    ASSERT_EQ(mDriver->setProperty(0, 1, "PrintStats", 1), 1);
    const int stats = mLog.FindContaining("\nStream:\t\tdelivered ", from);
    ASSERT_GE(stats, 0) << mLog.Dump();
    const std::string text = mLog.Messages()[static_cast<std::size_t>(stats)];
    EXPECT_NE(text.find("incomplete 0, underruns 0"), std::string::npos) << text;
    EXPECT_NE(text.find("missing 0, out of range 0"), std::string::npos) << text;
}

#if !defined(_WIN32)
// The lab's changes go through its script, which runs on Linux only.
bool Lab(const std::string& arguments)
{
    const std::string command = TestSupport::SourceDir() + "/tools/gige-lab.sh " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

TEST_F(FakeCameraTest, ASecondHostIsRefusedWhileTheFirstHoldsTheCamera)
{
    ASSERT_EQ(Open(2), 1) << mLog.Dump();
    TestSupport::TempFolder other;
    const std::string output = other.File("output.txt");
    const std::string command = BinFolder() + "/kavrix-host --system-path " + other.Path() + " --log 1 open \"" +
                                Camera + "\" > " + output + " 2>&1";
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_NE(TestSupport::ReadFile(output).find("another application controls the camera"), std::string::npos)
        << TestSupport::ReadFile(output);
    // The first host goes on grabbing.
    ASSERT_EQ(mDriver->doCVLGrab(0, 2), 1);
    EXPECT_TRUE(WaitForImages(1, 5s)) << mLog.Dump();
}

TEST_F(FakeCameraTest, ACameraThatDiesIsReportedWithinItsHeartbeatAndClosesAtOnce)
{
    ASSERT_EQ(Open(3), 1) << mLog.Dump();
    ASSERT_EQ(mDriver->setProperty(0, 3, "continuous", 1), 1);
    ASSERT_TRUE(WaitForImages(5, 5s)) << mLog.Dump();
    const auto died = std::chrono::steady_clock::now();
    ASSERT_TRUE(Lab("camera stop"));
    // The camera's heartbeat timeout is 3 s.
    EXPECT_TRUE(WaitForLog("Camera::ProcessEvent: ERROR: the camera stopped answering, port=3", 4s)) << mLog.Dump();
    EXPECT_LT(std::chrono::steady_clock::now() - died, 4s);
    const auto closing = std::chrono::steady_clock::now();
    mDriver->closeCVLPort(0, 3);
    EXPECT_LT(std::chrono::steady_clock::now() - closing, 1s);
    ASSERT_TRUE(Lab("camera start"));
    ASSERT_EQ(Open(3), 1) << mLog.Dump();
    const int before = Count();
    ASSERT_EQ(mDriver->doCVLGrab(0, 3), 1);
    EXPECT_TRUE(WaitForImages(before + 1, 5s)) << mLog.Dump();
}

TEST_F(FakeCameraTest, ACameraOnAnotherSubnetIsListedAndItsOpenNamesBothAddresses)
{
    ASSERT_TRUE(Lab("other-subnet"));
    mDriver->finalize();
    EXPECT_EQ(mDriver->initialize(mFolder.Path().c_str(), LogCapture::Callback()), 1);
    const char** names = mDriver->getCVLCameraConfigNames();
    std::vector<std::string> listed;
    for (int i = 0; names[i] != nullptr; ++i) {
        listed.emplace_back(names[i]);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"Aravis Fake (GV01)", "Aravis Fake (GV02)"}));
    int size[2] = {0, 0};
    EXPECT_EQ(mDriver->openCVLPort(0, 4, "Aravis Fake (GV02)", size), 0);
    EXPECT_GE(mLog.FindContaining("169.254.200.1 is not in the subnet of kxhost0 (169.254.100.2/24)"), 0)
        << mLog.Dump();
    EXPECT_TRUE(Lab("other-subnet off"));
}
#endif

}
