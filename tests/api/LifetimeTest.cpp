// What lives when: after the last finalize nothing of the driver runs or
// remains, whatever the host calls meanwhile or afterwards; a port belongs to
// one camera; host threads sharing a camera see whole values.
#include "CameraFixture.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using TestSupport::CameraFixture;
using TestSupport::Kx1300;
using TestSupport::Kx5000;
using TestSupport::LogCapture;

const DriverFunctions* gDriver = nullptr;
std::atomic<int> gCountsSeen{0};
std::atomic<int> gNamesSeen{0};
// Set from the message that says the list is being destroyed on.
std::atomic<bool> gListGoingAway{false};
std::atomic<int> gNamesSeenWhileGoingAway{0};

// A host that asks for the cameras on whatever the driver tells it.
void AsksWhileLogging(const char* text)
{
    LogCapture::Callback()(text);
    if (gDriver == nullptr) {
        return;
    }
    if (std::string(text).find("CameraList::~CameraList: entering") != std::string::npos) {
        gListGoingAway = true;
    }
    gCountsSeen += gDriver->getCVLNoOfSupportedCameras();
    const char** names = gDriver->getCVLCameraConfigNames();
    for (int i = 0; names != nullptr && names[i] != nullptr; ++i) {
        ++gNamesSeen;
        gNamesSeenWhileGoingAway += gListGoingAway ? 1 : 0;
    }
}

class LifetimeTest : public CameraFixture {};

TEST_F(LifetimeTest, AfterTheLastFinalizeNothingRunsAndNothingIsMade)
{
    OpenForImages(Kx1300, 0);
    ASSERT_EQ(mDriver->setProperty(0, 0, "continuous", 1), 1);
    ASSERT_TRUE(mImages.WaitForImages(0, 2, 5s));
    // Every message of finalize asks for the cameras; while the list goes
    // away, and after, there are none and nothing makes new ones.
    gDriver = &*mDriver;
    mDriver->setDebugMsgProc(&AsksWhileLogging);
    const int destroyed = static_cast<int>(mLog.Messages().size());
    ASSERT_EQ(mDriver->finalize(), 1);
    const int leaving = mLog.Find("finalize: leaving, refcount=0\n", destroyed);
    ASSERT_GE(leaving, 0) << mLog.Dump();
    gCountsSeen = 0;
    gNamesSeen = 0;
    // Exports outside initialize and finalize: no cameras, nothing started.
    EXPECT_EQ(mDriver->getCVLNoOfSupportedCameras(), 0);
    EXPECT_EQ(mDriver->getCVLCameraConfigNames()[0], nullptr);
    int size[2] = {-1, -1};
    EXPECT_EQ(mDriver->openCVLPort(0, 0, Kx1300, size), 0);
    EXPECT_EQ(mDriver->doCVLGrab(0, 0), 0);
    gDriver = nullptr;
    const std::size_t after = mLog.Messages().size();
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(mLog.Messages().size(), after) << "a driver thread still calls the host:\n" << mLog.Dump();
    EXPECT_EQ(gCountsSeen, 0);
    EXPECT_EQ(gNamesSeen, 0);
    EXPECT_LT(mLog.Find("CameraWaitThread::ThreadMain: entering", leaving), 0) << "no new wait thread";
    // A second finalize at reference count 0 has nothing to end.
    EXPECT_EQ(mDriver->finalize(), 1);
    // And the next initialize finds the cameras again.
    mDriver->setDebugMsgProc(LogCapture::Callback());
    ASSERT_EQ(mDriver->initialize(mFolder.Path().c_str(), LogCapture::Callback()), 1);
    EXPECT_EQ(mDriver->getCVLNoOfSupportedCameras(), 2);
}

TEST_F(LifetimeTest, NamesHandedOutWhileTheListGoesAwayAreNone)
{
    gDriver = &*mDriver;
    gListGoingAway = false;
    gNamesSeenWhileGoingAway = 0;
    mDriver->setDebugMsgProc(&AsksWhileLogging);
    ASSERT_EQ(mDriver->finalize(), 1);
    gDriver = nullptr;
    mDriver->setDebugMsgProc(LogCapture::Callback());
    // Only the messages before the list started to go away saw its cameras.
    EXPECT_TRUE(gListGoingAway) << mLog.Dump();
    EXPECT_EQ(gNamesSeenWhileGoingAway, 0) << mLog.Dump();
    ASSERT_EQ(mDriver->initialize(mFolder.Path().c_str(), LogCapture::Callback()), 1);
}

TEST_F(LifetimeTest, TwoCamerasOpenedOnOnePortAtOnceOneWins)
{
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        std::atomic<int> opened{0};
        std::vector<std::thread> hosts;
        for (const char* camera : {Kx1300, Kx5000}) {
            hosts.emplace_back([&, camera] {
                int size[2] = {0, 0};
                opened += mDriver->openCVLPort(0, 3, camera, size);
            });
        }
        for (std::thread& host : hosts) {
            host.join();
        }
        EXPECT_EQ(opened, 1);
        mDriver->closeCVLPort(0, 3);
        int value = 0;
        ASSERT_EQ(mDriver->getProperty(0, 3, "Width", &value), 0) << "the port is free again";
    }
}

TEST_F(LifetimeTest, PropertiesFromTwoHostThreadsSeeWholeValues)
{
    ASSERT_EQ(Open(Kx1300, 1), 1);
    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::vector<std::thread> hosts;
    for (int value : {1000, 3000}) {
        hosts.emplace_back([&, value] {
            while (!stop) {
                mDriver->setProperty(0, 1, "ExposureTimeRaw", value);
                int read = 0;
                mDriver->getProperty(0, 1, "ExposureTimeRaw", &read);
                wrong += read != 1000 && read != 3000 ? 1 : 0;
            }
        });
    }
    std::this_thread::sleep_for(500ms);
    stop = true;
    for (std::thread& host : hosts) {
        host.join();
    }
    EXPECT_EQ(wrong, 0);
}

}
