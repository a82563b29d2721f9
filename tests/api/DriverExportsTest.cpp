// The driver as the host sees it: loaded by path, driven through its exports.
#include "os/System.h"
#include "support/LoadedDriver.h"
#include "support/LogCapture.h"
#include "support/ProducerState.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using TestSupport::LogCapture;

class DriverExportsTest : public ::testing::Test {
protected:
    TestSupport::ProducerState mProducer;
    LogCapture mLog;
    TestSupport::LoadedDriver mDriver;
};

TEST_F(DriverExportsTest, InitializeAndFinalizeCountReferences)
{
    ASSERT_EQ(mDriver->initialize(nullptr, LogCapture::Callback()), 1);
    EXPECT_EQ(mLog.Find("===============\ninitialize: \n"), 0) << mLog.Dump();
    EXPECT_GE(mLog.FindContaining("initialize: Kavrix camera driver V1,0,0,11, refcount=1, "), 0);
    EXPECT_EQ(TLICtl_CallCount("TLOpen"), 1);

    ASSERT_EQ(mDriver->initialize(nullptr, LogCapture::Callback()), 1);
    EXPECT_GE(mLog.FindContaining("initialize: Kavrix camera driver V1,0,0,11, refcount=2, "), 0);
    EXPECT_EQ(TLICtl_CallCount("TLOpen"), 1) << "a second initialize does not enumerate again";

    mLog.Clear();
    EXPECT_EQ(mDriver->finalize(), 1);
    EXPECT_EQ(mLog.MessagesBesidesWaitThread(),
              (std::vector<std::string>{"finalize: entering, refcount=2\n", "finalize: leaving, refcount=1\n"}));
    EXPECT_EQ(mDriver->finalize(), 1);
    EXPECT_GE(mLog.Find("CameraList::~CameraList: entering\n"), 0);
    EXPECT_EQ(TLICtl_CallCount("TLClose"), 1);

    // One finalize too many leaves the count at 0 ...
    mLog.Clear();
    EXPECT_EQ(mDriver->finalize(), 1);
    EXPECT_EQ(mLog.Messages(), (std::vector<std::string>{"finalize: entering, refcount=0\n",
                                                          "finalize: leaving, refcount=0\n"}));
    // ... so the next initialize enumerates again.
    ASSERT_EQ(mDriver->initialize(nullptr, LogCapture::Callback()), 1);
    EXPECT_EQ(TLICtl_CallCount("TLOpen"), 2);
    EXPECT_GE(mLog.FindContaining("refcount=1, "), 0);
    EXPECT_EQ(mDriver->getCVLNoOfSupportedCameras(), 2);
    mDriver->finalize();
}

TEST_F(DriverExportsTest, CameraNamesComeInOneArrayPerEnumeration)
{
    TestSupport::ProducerState::Use({{"lan", {"North", "South", "West"}}});
    EXPECT_EQ(mDriver->getCVLNoOfSupportedCameras(), 0) << "before initialize the list is empty";
    EXPECT_EQ(mDriver->getCVLCameraConfigNames()[0], nullptr);

    // The list made before initialize is the one it fills, names and all.
    ASSERT_EQ(mDriver->initialize(nullptr, nullptr), 1);
    EXPECT_EQ(mDriver->getCVLNoOfSupportedCameras(), 3);
    const char** first = mDriver->getCVLCameraConfigNames();
    for (int call = 0; call < 2; ++call) {
        const char** names = mDriver->getCVLCameraConfigNames();
        ASSERT_EQ(names, first);
        EXPECT_STREQ(names[0], "North");
        EXPECT_STREQ(names[1], "South");
        EXPECT_STREQ(names[2], "West");
        EXPECT_EQ(names[3], nullptr);
    }
    EXPECT_EQ(mDriver->getCVLMaxNoOfGrabbers(), 1);
    EXPECT_EQ(mDriver->getCVLMaxNoOfPorts(), 20);
    mDriver->finalize();
}

TEST_F(DriverExportsTest, SystemPathAndCallbackAreSetOnRequest)
{
    EXPECT_EQ(mDriver->setSystemPath(""), 0);
    EXPECT_EQ(mDriver->setSystemPath(nullptr), 0);
    EXPECT_EQ(mDriver->setSystemPath("C:\\Inspection\\System"), 1);

    ASSERT_EQ(mDriver->initialize(nullptr, nullptr), 1);
    EXPECT_TRUE(mLog.Calls().empty());
    mDriver->setDebugMsgProc(LogCapture::Callback());
    mDriver->closeCVLPort(0, 5);
    EXPECT_GE(mLog.Find("closeCVLPort: entering grabberNo=0, portNo=5\n"), 0);
    mLog.Clear();
    mDriver->setDebugMsgProc(nullptr);
    mDriver->closeCVLPort(0, 5);
    EXPECT_TRUE(mLog.MessagesBesidesWaitThread().empty()) << mLog.Dump();
    mDriver->finalize();
}

// Every per-port export on a port with no camera: the lookup's error, then
// the export's own second-handler message and its failure value.
TEST_F(DriverExportsTest, PerPortExportsOnAnUnboundPortFailCleanly)
{
    ASSERT_EQ(mDriver->initialize(nullptr, LogCapture::Callback()), 1);
    int value = 7;
    int minimum = 0;
    int maximum = 0;
    unsigned char row[16] = {};
    struct Case {
        const char* name;
        std::function<int()> call;
        int failure;
        const char* message;
    };
    const Case cases[] = {
        {"closeCVLPort", [&] { mDriver->closeCVLPort(0, 4); return -1; }, -1,
         "closeCVLPort: --EXCEPTION caught  grabberNo=0, portNo=4\n"},
        {"doCVLGrab", [&] { return mDriver->doCVLGrab(0, 4); }, 0,
         "doCVLGrab: --EXCEPTION caught  grabberNo=0 portNo=4\n"},
        {"getCVLGrabRow", [&] { return mDriver->getCVLGrabRow(0, 4, row, 0, 0, 15); }, 0,
         "getCVLGrabRow: --EXCEPTION caught \n"},
        {"setCompleteCallback", [&] { return mDriver->setCompleteCallback(0, 4, nullptr); }, 0,
         "setCompleteCallback: --EXCEPTION caught \n"},
        {"getPropertyRange", [&] { return mDriver->getPropertyRange(0, 4, "Gain", &minimum, &maximum); }, 0,
         "getPropertyRange: --EXCEPTION caught \n"},
        {"getProperty", [&] { return mDriver->getProperty(0, 4, "Gain", &value); }, 0,
         "--EXCEPTION caught at getProperty\n"},
        {"setProperty", [&] { return mDriver->setProperty(0, 4, "Gain", 3); }, 0,
         "setProperty: --EXCEPTION caught \n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mLog.Clear();
        EXPECT_EQ(c.call(), c.failure);
        // The next of this thread's messages: the wait thread may log in between.
        const int lookup = mLog.Find("CameraList::GetByPort: ERROR: could not find camera on port 4\n");
        EXPECT_GE(lookup, 0) << mLog.Dump();
        const int handler = mLog.Find(c.message);
        EXPECT_GT(handler, lookup) << mLog.Dump();
        for (int between = lookup + 1; between < handler; ++between) {
            EXPECT_EQ(mLog.Messages()[static_cast<std::size_t>(between)].rfind("CameraWaitThread::", 0), 0u)
                << mLog.Dump();
        }
    }
    EXPECT_EQ(value, 7) << "a failed getProperty leaves the value alone";
    EXPECT_EQ(mLog.Find("closeCVLPort: leaving grabberNo=0, portNo=4\n"), -1) << "cleared before the last case";
    mDriver->finalize();
}

TEST_F(DriverExportsTest, OpenRefusesUndefinedAndUnknownNames)
{
    ASSERT_EQ(mDriver->initialize(nullptr, LogCapture::Callback()), 1);
    int size[2] = {-1, -1};
    for (const char* name : {"Undefined", "uNDEFINED", "Udefinert", "UDEFINERT", ""}) {
        mLog.Clear();
        size[0] = size[1] = -1;
        EXPECT_EQ(mDriver->openCVLPort(0, 1, name, size), 0);
        EXPECT_EQ(size[0], 0);
        EXPECT_EQ(size[1], 0);
        EXPECT_TRUE(mLog.Contains(std::string("openCVLPort: ERROR: undefined camera, grabberNo=0, portNo=1, cameraName=") +
                                  name + "\n"))
            << mLog.Dump();
    }
    mLog.Clear();
    EXPECT_EQ(mDriver->openCVLPort(0, 1, nullptr, size), 0);
    EXPECT_TRUE(mLog.Contains("openCVLPort: ERROR: undefined camera, grabberNo=0, portNo=1, cameraName=(null)\n"));
    EXPECT_EQ(mDriver->openCVLPort(0, 1, "No such camera", size), 0);
    EXPECT_TRUE(mLog.Contains("openCVLPort: ERROR: cannot find camera by name:No such camera\n"));

    // A camera whose open fails reports it through the barrier.
    const char* name = mDriver->getCVLCameraConfigNames()[0];
    mLog.Clear();
    TLICtl_InjectFault("TLOpenDevice", GC_ERR_ERROR, 0, 1);
    EXPECT_EQ(mDriver->openCVLPort(0, 1, name, size), 0);
    EXPECT_GE(mLog.FindContaining("openCVLPort: --EXCEPTION caught grabberNo=0, portNo=1: "), 0) << mLog.Dump();
    EXPECT_EQ(size[0], 0);
    mDriver->finalize();
}

TEST_F(DriverExportsTest, ConfigureWithoutSuchCameraAnswersZero)
{
    ASSERT_EQ(mDriver->initialize(nullptr, LogCapture::Callback()), 1);
    EXPECT_EQ(mDriver->configureCamera(0, nullptr), 0);
    EXPECT_TRUE(mLog.Contains("configureCamera: ERROR: cannot find camera by name: (null)\n")) << mLog.Dump();
    EXPECT_EQ(mDriver->configureCamera(0, "Nobody"), 0);
    EXPECT_TRUE(mLog.Contains("configureCamera: ERROR: cannot find camera by name: Nobody\n"));
    EXPECT_EQ(mDriver->setHWTrigger(0, 9), 1);
    mDriver->finalize();
}

TEST_F(DriverExportsTest, MissingProducerStillInitializes)
{
    ASSERT_TRUE(Os::SetEnvironment("KAVRIX_TLI", "missing-producer-library"));
    const int result = mDriver->initialize(nullptr, LogCapture::Callback());
    Os::SetEnvironment("KAVRIX_TLI", nullptr);
    EXPECT_EQ(result, 1);
    EXPECT_GE(mLog.FindContaining("CameraList::Init: ERROR: Failed to enumerate cameras: Library::Open: Failed to load "
                                  "the producer library"),
              0)
        << mLog.Dump();
    EXPECT_GE(mLog.Find("CameraList::Init: WARNING: no supported cameras found\n"), 0);
    EXPECT_EQ(mDriver->getCVLNoOfSupportedCameras(), 0);
    mDriver->finalize();
}

}

namespace {

// A producer failing part-way through the enumeration: initialize still
// succeeds and the host sees the cameras found before the failure.
TEST_F(DriverExportsTest, EnumerationFailuresStillInitialize)
{
    struct Case {
        const char* operation;
        uint32_t skip;
        int cameras;
    };
    for (const Case& c : {Case{"TLOpen", 0, 0}, Case{"TLGetNumInterfaces", 0, 0}, Case{"TLOpenInterface", 1, 2},
                          Case{"TLGetDeviceName", 1, 1}}) {
        SCOPED_TRACE(c.operation);
        TestSupport::ProducerState::Use({{"a", {"A1", "A2"}}, {"b", {"B1"}}});
        TLICtl_InjectFault(c.operation, GC_ERR_ERROR, c.skip, 1);
        mLog.Clear();
        EXPECT_EQ(mDriver->initialize(nullptr, LogCapture::Callback()), 1);
        EXPECT_EQ(mDriver->getCVLNoOfSupportedCameras(), c.cameras);
        EXPECT_GE(mLog.FindContaining("CameraList::Init: ERROR: Failed to enumerate cameras: "), 0) << mLog.Dump();
        EXPECT_GE(mLog.FindContaining("refcount=1, "), 0);
        EXPECT_EQ(mDriver->finalize(), 1);
        TLICtl_ClearFaults();
    }
}

}
