// A host's debug callback that calls back into the driver, switches itself
// off or throws, and host threads asking for the camera names at once.
#include "os/Thread.h"
#include "support/LoadedDriver.h"
#include "support/LogCapture.h"
#include "support/ProducerState.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using TestSupport::LogCapture;

const DriverFunctions* gDriver = nullptr;
// The message on which the callback calls the driver, and what it got.
std::string gTrigger;
std::vector<int> gResults;

void Forward(const char* text)
{
    LogCapture::Callback()(text);
}

void CallsInitializeAndFinalize(const char* text)
{
    Forward(text);
    if (gTrigger == text) {
        gResults.push_back(gDriver->initialize("elsewhere", &Forward));
        gResults.push_back(gDriver->finalize());
    }
}

void SwitchesItselfOff(const char* text)
{
    Forward(text);
    gDriver->setDebugMsgProc(nullptr);
}

void Throws(const char* text)
{
    Forward(text);
    throw std::runtime_error("host failure");
}

class HostCallbackExportsTest : public ::testing::Test {
protected:
    HostCallbackExportsTest()
    {
        gDriver = &*mDriver;
        gResults.clear();
    }
    ~HostCallbackExportsTest() override { gDriver = nullptr; }

    TestSupport::ProducerState mProducer;
    LogCapture mLog;
    TestSupport::LoadedDriver mDriver;
};

// While the driver enumerates, and while it destroys the list.
TEST_F(HostCallbackExportsTest, InitializeAndFinalizeFromInsideTheCallbackAreRefusedAndChangeNothing)
{
    gTrigger = "CameraList::Init: entering\n";
    ASSERT_EQ(mDriver->initialize(nullptr, &CallsInitializeAndFinalize), 1);
    EXPECT_EQ(gResults, (std::vector<int>{0, 0}));
    const int refused = mLog.Find("initialize: ERROR: called from inside a driver callback\n");
    EXPECT_GT(refused, 0) << mLog.Dump();
    EXPECT_GT(mLog.Find("finalize: ERROR: called from inside a driver callback\n"), refused);
    EXPECT_EQ(mLog.Find("===============\ninitialize: \n", 1), -1) << "nothing of the refused call runs";
    EXPECT_EQ(mLog.Find("finalize: entering, refcount=0\n"), -1);
    EXPECT_GE(mLog.FindContaining("refcount=1, "), 0);
    EXPECT_EQ(mDriver->getCVLNoOfSupportedCameras(), 2) << "enumerated once";

    // The refused initialize stored neither its callback nor anything else:
    // this one is still called, and calls again on the list's destruction.
    gTrigger = "CameraList::~CameraList: entering\n";
    mLog.Clear();
    ASSERT_EQ(mDriver->finalize(), 1);
    EXPECT_EQ(gResults, (std::vector<int>{0, 0, 0, 0}));
    EXPECT_GE(mLog.Find("finalize: leaving, refcount=0\n"), 0) << mLog.Dump();
    EXPECT_EQ(mLog.Find("finalize: entering, refcount=0\n"), -1);
    EXPECT_EQ(mDriver->initialize(nullptr, &Forward), 1);
    EXPECT_GE(mLog.FindContaining("refcount=1, "), 0) << "the count went to 0 and no further";
    mDriver->finalize();
}

TEST_F(HostCallbackExportsTest, ACallbackThatSwitchesItselfOffStopsOnlyItsOwnMessages)
{
    ASSERT_EQ(mDriver->initialize(nullptr, &SwitchesItselfOff), 1);
    EXPECT_EQ(mLog.Messages(), std::vector<std::string>{"===============\ninitialize: \n"});
    EXPECT_EQ(mDriver->getCVLNoOfSupportedCameras(), 2);
    EXPECT_EQ(mDriver->finalize(), 1);
}

// Also where the driver logs outside an export's barrier (the leaving lines
// of closeCVLPort and configureCamera) and in the list's destructor.
TEST_F(HostCallbackExportsTest, WhatTheCallbackThrowsNeverLeavesTheDriver)
{
    const auto escapes = [](auto call) {
        try {
            call();
        } catch (...) {
            return true;
        }
        return false;
    };
    EXPECT_FALSE(escapes([&] { EXPECT_EQ(mDriver->initialize(nullptr, &Throws), 1); }));
    const std::string name = mDriver->getCVLCameraConfigNames()[0];
    EXPECT_FALSE(escapes([&] { mDriver->closeCVLPort(0, 5); }));
    EXPECT_FALSE(escapes([&] { mDriver->configureCamera(0, name.c_str()); }));
    EXPECT_FALSE(escapes([&] { EXPECT_EQ(mDriver->finalize(), 1); }));
    EXPECT_FALSE(mLog.Calls().empty()) << "the callback was called (and threw on each prefix)";
    EXPECT_FALSE(escapes([&] { EXPECT_EQ(mDriver->initialize(nullptr, nullptr), 1); }));
    EXPECT_EQ(mDriver->getCVLNoOfSupportedCameras(), 2);
    mDriver->finalize();
}

TEST_F(HostCallbackExportsTest, HostThreadsMayAskForTheNamesAtOnce)
{
    TestSupport::ProducerState::Use({{"lan", {"North", "South", "West"}}});
    ASSERT_EQ(mDriver->initialize(nullptr, nullptr), 1);
    std::atomic<int> wrong{0};
    {
        std::vector<std::unique_ptr<Os::Thread>> threads;
        for (int t = 0; t < 4; ++t) {
            threads.push_back(std::make_unique<Os::Thread>([&] {
                for (int i = 0; i < 2000; ++i) {
                    const char** names = gDriver->getCVLCameraConfigNames();
                    if (std::strcmp(names[0], "North") != 0 || std::strcmp(names[2], "West") != 0 ||
                        names[3] != nullptr) {
                        ++wrong;
                    }
                }
            }));
        }
        for (auto& thread : threads) {
            EXPECT_TRUE(thread->Join(60000));
        }
    }
    EXPECT_EQ(wrong, 0);
    const char** names = mDriver->getCVLCameraConfigNames();
    EXPECT_EQ(mDriver->getCVLCameraConfigNames(), names) << "the same array until the next enumeration";
    mDriver->finalize();
}

}
