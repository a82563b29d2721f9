// The driver through its exports against our own test camera in the lab, on
// a network that fails: stream packets lost at random or in runs (each image
// still whole, by resend), control packets lost, a camera that disappears,
// restarts or falls silent past its heartbeat, and malformed stream packets
// (each counted, none written outside a buffer, the stream goes on).
#include "DriverLibrary.h"
#include "os/Profile.h"
#include "os/System.h"
#include "support/LoadedDriver.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#if !defined(_WIN32)
// The lab's camera is started and stopped through its script, on Linux only.
namespace {

using namespace std::chrono_literals;
using TestSupport::LogCapture;

constexpr int Width = 640;
constexpr int Height = 480;

void Anchor() {}

std::string BinFolder()
{
    return Os::ModuleFolder(reinterpret_cast<const void*>(&Anchor));
}

bool Lab(const std::string& arguments)
{
    const std::string command = TestSupport::SourceDir() + "/tools/gige-lab.sh " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// The lab command that starts our camera with these fault options.
std::string OurCamera(const std::string& options = std::string())
{
    return "ourcamera start " + BinFolder() + "/kavrix-gige-camera " + options;
}

// The camera's picture: the frame number in bytes 0 to 3, every other byte
// of row y at column x (x + y + frame number) mod 256.
bool IsCameraPattern(const std::vector<unsigned char>& image)
{
    const std::uint32_t frame = image[0] | image[1] << 8 | image[2] << 16 | static_cast<std::uint32_t>(image[3]) << 24;
    for (int y = 0; y < Height; ++y) {
        for (int x = y == 0 ? 4 : 0; x < Width; ++x) {
            if (image[static_cast<std::size_t>(y) * Width + x] != ((x + y + frame) & 0xFF)) {
                return false;
            }
        }
    }
    return true;
}

// The host's side: every image read row by row in the callback and compared
// with the camera's pattern.
struct Images {
    std::mutex lock;
    std::condition_variable arrived;
    const DriverFunctions* driver = nullptr;
    std::vector<unsigned char> image = std::vector<unsigned char>(Width * Height);
    int count = 0;
    int bad = 0;
};
Images sImages;

int Receive(int, int port)
{
    std::lock_guard<std::mutex> guard(sImages.lock);
    bool good = true;
    for (int row = 0; good && row < Height; ++row) {
        good = sImages.driver->getCVLGrabRow(0, port, &sImages.image[static_cast<std::size_t>(row) * Width], row, 0,
                                             Width - 1) == 1;
    }
    sImages.bad += good && IsCameraPattern(sImages.image) ? 0 : 1;
    ++sImages.count;
    sImages.arrived.notify_all();
    return 0;
}

// A number of the producer's statistics, as PrintStats logs them
// ("..., resend requests 12, resent 12").
long long Statistic(const std::string& text, const std::string& name)
{
    const std::size_t at = text.find(name + " ");
    return at == std::string::npos ? -1 : std::atoll(text.c_str() + at + name.size() + 1);
}

class OurCameraFaultTest : public ::testing::Test {
protected:
    OurCameraFaultTest()
    {
        Os::SetEnvironment("KAVRIX_TLI", (BinFolder() + "/gige/" + Os::SharedLibrary::FileName("tli")).c_str());
        Store("General", "LogLevel", "3");
        std::lock_guard<std::mutex> guard(sImages.lock);
        sImages.driver = &*mDriver;
        sImages.count = 0;
        sImages.bad = 0;
    }
    ~OurCameraFaultTest() override
    {
        mDriver->finalize();
        Lab("loss off");
        Lab("ourcamera stop");
    }
    // The other lab tests of this program meet the lab's own camera.
    static void TearDownTestSuite() { Lab("camera start"); }

    // Our camera with these fault options, then the driver.
    void Start(const std::string& options)
    {
        ASSERT_TRUE(Lab(OurCamera(options))) << options;
        ASSERT_EQ(mDriver->initialize(mFolder.Path().c_str(), LogCapture::Callback()), 1);
        const char** names = mDriver->getCVLCameraConfigNames();
        ASSERT_NE(names[0], nullptr) << mLog.Dump();
        mCamera = names[0];
        // Read when the camera opens.
        Store(mCamera.c_str(), "Width", std::to_string(Width));
        Store(mCamera.c_str(), "Height", std::to_string(Height));
    }
    void Store(const char* section, const char* key, const std::string& value) const
    {
        ASSERT_TRUE(Os::WriteProfileString(section, key, value, mFolder.File("Kavrix.ini")));
    }
    int Open(int port)
    {
        int size[2] = {0, 0};
        const int opened = mDriver->openCVLPort(0, port, mCamera.c_str(), size);
        if (opened == 1) {
            EXPECT_EQ(size[0], Width);
            EXPECT_EQ(size[1], Height);
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
    // Grabs continuously until count more images came.
    void Grab(int port, int count)
    {
        const int until = Count() + count;
        ASSERT_EQ(mDriver->setProperty(0, port, "continuous", 1), 1) << mLog.Dump();
        EXPECT_TRUE(WaitForImages(until, 30s)) << Count() << " of " << until << " images\n" << mLog.Dump();
        ASSERT_EQ(mDriver->setProperty(0, port, "continuous", 0), 1) << mLog.Dump();
    }
    // The producer's account of the stream, from PrintStats.
    std::string Statistics(int port)
    {
        const int from = static_cast<int>(mLog.Messages().size());
        EXPECT_EQ(mDriver->setProperty(0, port, "PrintStats", 1), 1);
        const int at = mLog.FindContaining("\nStream:\t\tdelivered ", from);
        EXPECT_GE(at, 0) << mLog.Dump();
        return at < 0 ? std::string() : mLog.Messages()[static_cast<std::size_t>(at)];
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
    // While the port streams, the camera goes (as the lab command does it):
    // the driver reports it lost within the wait, closes at once, and once the
    // camera answers again and has let the lost host's control expire (its
    // heartbeat timeout, 3 s), an open streams its pattern.
    void ExpectLostAndReopened(int port, const std::vector<std::string>& lose, std::chrono::milliseconds wait,
                               const std::string& restore)
    {
        ASSERT_EQ(Open(port), 1) << mLog.Dump();
        ASSERT_EQ(mDriver->setProperty(0, port, "continuous", 1), 1);
        ASSERT_TRUE(WaitForImages(5, 5s)) << mLog.Dump();
        for (const std::string& command : lose) {
            ASSERT_TRUE(Lab(command)) << command;
        }
        EXPECT_TRUE(WaitForLog("ERROR: the camera stopped answering, port=" + std::to_string(port), wait))
            << mLog.Dump();
        // The continuous mode outlives a close: the host switches it off.
        mDriver->setProperty(0, port, "continuous", 0);
        const auto closing = std::chrono::steady_clock::now();
        mDriver->closeCVLPort(0, port);
        EXPECT_LT(std::chrono::steady_clock::now() - closing, 1s);
        if (!restore.empty()) {
            ASSERT_TRUE(Lab(restore)) << restore;
        }
        const auto expired = std::chrono::steady_clock::now() + 4s;
        while (Open(port) != 1) {
            ASSERT_LT(std::chrono::steady_clock::now(), expired) << mLog.Dump();
            std::this_thread::sleep_for(200ms);
        }
        Grab(port, 20);
        EXPECT_EQ(Bad(), 0);
    }

    TestSupport::TempFolder mFolder;
    LogCapture mLog;
    TestSupport::LoadedDriver mDriver;
    std::string mCamera;
};

// Stream packets lost between camera and host, at random (the lab's loss)
// or in runs at the camera: every image handed over whole, by resend.
struct StreamLoss {
    const char* mCamera;   // our camera's fault options
    const char* mLabLoss;  // the lab's loss, or none
};

class StreamLossTest : public OurCameraFaultTest, public ::testing::WithParamInterface<StreamLoss> {};

TEST_P(StreamLossTest, EveryImageIsWholeByResend)
{
    Start(GetParam().mCamera);
    if (*GetParam().mLabLoss != '\0') {
        ASSERT_TRUE(Lab(std::string("loss ") + GetParam().mLabLoss));
    }
    ASSERT_EQ(Open(0), 1) << mLog.Dump();
    Grab(0, 200);
    const std::string stats = Statistics(0);
    EXPECT_EQ(Bad(), 0);
    // An image may still miss a packet when a loaded machine answers late;
    // one in a hundred is far from the loss without resend (a 640x480 image
    // is over 200 packets: at 1 % loss nine in ten would be incomplete).
    const long long delivered = Statistic(stats, "delivered");
    EXPECT_GE(delivered, 200) << stats;
    EXPECT_LE(Statistic(stats, "incomplete") * 100, delivered) << stats;
    EXPECT_GT(Statistic(stats, "resent"), 0) << stats;
}

INSTANTIATE_TEST_SUITE_P(Lab, StreamLossTest,
                         ::testing::Values(StreamLoss{"", "1 gvsp"}, StreamLoss{"", "5 gvsp"},
                                           StreamLoss{"--drop 0.01 --burst 10", ""}));

TEST_F(OurCameraFaultTest, OpensSetsAndGrabsWhileControlPacketsAreLost)
{
    Start("");
    ASSERT_TRUE(Lab("loss 1 gvcp"));
    ASSERT_EQ(Open(1), 1) << mLog.Dump();
    for (int exposure = 2000; exposure < 2100; exposure += 10) {
        ASSERT_EQ(mDriver->setProperty(0, 1, "ExposureTimeRaw", exposure), 1) << mLog.Dump();
        int value = 0;
        ASSERT_EQ(mDriver->getProperty(0, 1, "ExposureTimeRaw", &value), 1) << mLog.Dump();
        EXPECT_EQ(value, exposure);
    }
    Grab(1, 100);
    EXPECT_EQ(Bad(), 0);
}

TEST_F(OurCameraFaultTest, ACameraThatDisappearsIsReportedAndOpensWhenBack)
{
    Start("");
    ExpectLostAndReopened(2, {"ourcamera stop"}, 4s, OurCamera());
}

// Stopped and started again at once, the camera has forgotten the host's
// control and starts its block IDs anew.
TEST_F(OurCameraFaultTest, ACameraThatRestartsWhileStreamingIsReportedAndOpensAgain)
{
    Start("");
    ExpectLostAndReopened(3, {"ourcamera stop", OurCamera()}, 4s, "");
}

// Silent past its heartbeat timeout (3 s), the camera drops the host's
// control; the host reports it lost and, once the camera answers, opens it.
TEST_F(OurCameraFaultTest, ACameraSilentPastItsHeartbeatIsReportedLost)
{
    Start("--silence 100000");
    ExpectLostAndReopened(4, {"ourcamera silence"}, 4s, "ourcamera silence");
}

TEST_F(OurCameraFaultTest, MalformedStreamPacketsAreCountedAndTheStreamGoesOn)
{
    Start("--malformed 0.01");
    ASSERT_EQ(Open(5), 1) << mLog.Dump();
    Grab(5, 200);
    const std::string stats = Statistics(5);
    EXPECT_EQ(Bad(), 0);
    EXPECT_EQ(Statistic(stats, "incomplete"), 0) << stats;
    mDriver->closeCVLPort(0, 5);
    ASSERT_TRUE(Lab("ourcamera stop"));
    // The camera's last line: "... sent F frames in P packets (D dropped on
    // purpose, M malformed, ...".
    const std::string log = TestSupport::ReadFile("/run/kavrix-lab/ourcamera.log");
    const std::size_t at = log.rfind(" malformed, ");
    ASSERT_NE(at, std::string::npos) << log;
    const long long malformed = std::atoll(log.c_str() + log.rfind(", ", at) + 2);
    EXPECT_GT(malformed, 0) << log;
    EXPECT_EQ(Statistic(stats, "out of range"), malformed) << stats << log;
}

}
#endif
