// Discovery: one camera per device the producer reports, and the lookups the
// exports rely on.
#include "camera/CameraList.h"
#include "diag/DriverContext.h"
#include "os/Event.h"
#include "os/Thread.h"
#include "support/FailingAllocation.h"
#include "support/LogCapture.h"
#include "support/ProducerState.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using TestSupport::ProducerState;

class CameraListTest : public ::testing::Test {
protected:
    CameraListTest()
    {
        DriverContext::Instance().SetDebugMsgProc(TestSupport::LogCapture::Callback());
        DriverContext::Instance().mLogLevel = 3;
    }
    ~CameraListTest() override
    {
        CameraList::Release();
        DriverContext::Instance().SetDebugMsgProc(nullptr);
    }

    // Runs a lookup that must fail with the bare text "Err".
    template <typename Call>
    static bool RaisesErr(Call call)
    {
        try {
            call();
        } catch (const char* text) {
            return std::strcmp(text, "Err") == 0;
        } catch (...) {
        }
        return false;
    }

    ProducerState mProducer;
    TestSupport::LogCapture mLog;
};

TEST_F(CameraListTest, EnumeratesEveryInterfaceAndDeviceInOrder)
{
    ProducerState::Use({{"first", {}}, {"second", {"Line 1 camera", "Line 2 camera"}}});
    CameraList* list = CameraList::Create();
    ASSERT_TRUE(list->Init());
    EXPECT_TRUE(list->IsInitialized());

    const int interfaces = mLog.Find("CameraList::Init: Interface count: 2\n");
    const int empty = mLog.Find("CameraList::Init: Device count: 0\n", interfaces);
    const int two = mLog.Find("CameraList::Init: Device count: 2\n", empty);
    const int firstFound = mLog.Find("* b/w camera found: Line 1 camera\n", two);
    const int secondFound = mLog.Find("* b/w camera found: Line 2 camera\n", firstFound);
    EXPECT_GE(interfaces, 0);
    EXPECT_TRUE(empty > interfaces && two > empty && firstFound > two && secondFound > firstFound) << mLog.Dump();
    EXPECT_GE(mLog.Find("CameraList::Init: leaving\n", secondFound), 0);

    ASSERT_EQ(list->GetCount(), 2);
    const char** names = list->GetNames();
    EXPECT_STREQ(names[0], "Line 1 camera");
    EXPECT_STREQ(names[1], "Line 2 camera");
    EXPECT_EQ(names[2], nullptr);
    EXPECT_EQ(list->GetByName("Line 2 camera")->GetPort(), -1);
    EXPECT_FALSE(list->GetByName("Line 2 camera")->IsOpen());
}

TEST_F(CameraListTest, FailedProducerLeavesAnEmptyList)
{
    TLICtl_InjectFault("TLOpen", GC_ERR_ERROR, 0, 1);
    CameraList* list = CameraList::Create();
    EXPECT_FALSE(list->Init());
    const int error = mLog.Find("CameraList::Init: ERROR: Failed to enumerate cameras: Library::Open: Failed open TL"
                                " -- TL API error code: -6(GC_ERR_ERROR)\n");
    EXPECT_GE(error, 0) << mLog.Dump();
    EXPECT_GT(mLog.Find("CameraList::Init: WARNING: no supported cameras found\n"), error);
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(list->GetNames()[0], nullptr);
}

// A failure part-way keeps the cameras found before it.
TEST_F(CameraListTest, FailuresPartWayKeepWhatWasFound)
{
    struct Case {
        const char* operation;
        uint32_t skip;
        int camerasKept;
        const char* message;
    };
    const Case cases[] = {
        {"TLGetNumInterfaces", 0, 0, "Lirary::GetInterfaceCount: Failed to get interface count"},
        {"TLOpenInterface", 1, 2, "Interface::Open: Failed to open interface"},
        {"TLGetDeviceName", 1, 1, "Device::Open: Failed to get device name"},
        {"TLGetNumDevices", 1, 2, "Interface::GetDeviceCount: Failed to get device count"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.operation);
        ProducerState::Use({{"a", {"A1", "A2"}}, {"b", {"B1"}}});
        mLog.Clear();
        TLICtl_InjectFault(c.operation, GC_ERR_INVALID_ID, c.skip, 1);
        CameraList* list = CameraList::Create();
        EXPECT_EQ(list->Init(), c.camerasKept > 0);
        EXPECT_EQ(list->GetCount(), c.camerasKept);
        EXPECT_GE(mLog.FindContaining(std::string("CameraList::Init: ERROR: Failed to enumerate cameras: ") + c.message +
                                      " -- TL API error code: -3(GC_ERR_INVALID_ID)"),
                  0)
            << mLog.Dump();
        CameraList::Release();
        TLICtl_ClearFaults();
    }
}

TEST_F(CameraListTest, LookupsByNameAreExactAndNullSafe)
{
    ProducerState::Use({{"lan", {"Twin", "Twin", "Other"}}});
    CameraList* list = CameraList::Create();
    ASSERT_TRUE(list->Init());

    EXPECT_TRUE(list->IsCameraAvailable("Other"));
    EXPECT_FALSE(list->IsCameraAvailable("other"));
    EXPECT_FALSE(list->IsCameraAvailable(nullptr));
    EXPECT_TRUE(mLog.Contains("CameraList::IsCameraAvailable:  name=(null)\n"));

    // Two devices of one name: the first always wins.
    const char** names = list->GetNames();
    EXPECT_EQ(list->GetByName("Twin")->GetName().c_str(), names[0]);

    EXPECT_TRUE(RaisesErr([&] { list->GetByName("twin"); }));
    EXPECT_TRUE(mLog.Contains("CameraList::GetByName: ERROR: could not find camera twin\n"));
    EXPECT_TRUE(RaisesErr([&] { list->GetByName(nullptr); }));
    EXPECT_TRUE(mLog.Contains("CameraList::GetByName: ERROR: could not find camera (null)\n"));
}

TEST_F(CameraListTest, LookupByPortFindsOnlyBoundCameras)
{
    CameraList* list = CameraList::Create();
    EXPECT_TRUE(RaisesErr([&] { list->GetByPort(3); })) << "empty list";
    ASSERT_TRUE(list->Init());
    mLog.Clear();
    EXPECT_TRUE(RaisesErr([&] { list->GetByPort(3); }));
    EXPECT_TRUE(mLog.Contains("CameraList::GetByPort: ERROR: could not find camera on port 3\n")) << mLog.Dump();
    // Unbound cameras carry port -1; the host must not reach one with it.
    EXPECT_TRUE(RaisesErr([&] { list->GetByPort(-1); }));
    EXPECT_TRUE(mLog.Contains("CameraList::GetByPort: ERROR: could not find camera on port -1\n"));
}

TEST_F(CameraListTest, DestroyEmptiesTheListAndReleaseAllowsANewOne)
{
    CameraList* list = CameraList::Create();
    ASSERT_TRUE(list->Init());
    ASSERT_GT(list->GetCount(), 0);
    list->Destroy();
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_FALSE(list->IsInitialized());
    EXPECT_EQ(list->GetNames()[0], nullptr);

    mLog.Clear();
    CameraList::Release();
    const int entering = mLog.Find("CameraList::~CameraList: entering\n");
    EXPECT_GE(entering, 0);
    EXPECT_GT(mLog.Find("CameraList::~CameraList: leaving\n"), entering);
    EXPECT_EQ(TLICtl_CallCount("TLClose"), 1) << "the list closes the producer library";
    EXPECT_EQ(CameraList::Create()->GetCount(), 0) << "a new list starts empty";
}

// Host threads call the exports at the same time: the first calls create
// one list between them, and every caller gets the same names array.
TEST_F(CameraListTest, TwoThreadsMakingTheFirstCallCreateOneList)
{
    for (int round = 0; round < 20; ++round) {
        Os::Event start(Os::Event::Mode::ManualReset);
        Os::Event* const waitFor[] = {&start};
        CameraList* seen[2] = {};
        {
            std::vector<std::unique_ptr<Os::Thread>> threads;
            for (CameraList*& slot : seen) {
                threads.push_back(std::make_unique<Os::Thread>([&] {
                    Os::WaitForAny(waitFor, 1, Os::Infinite);
                    slot = CameraList::Create();
                }));
            }
            start.Set();
            for (auto& thread : threads) {
                ASSERT_TRUE(thread->Join(10000));
            }
        }
        ASSERT_NE(seen[0], nullptr);
        ASSERT_EQ(seen[0], seen[1]) << "round " << round;
        CameraList::Release();
    }
}

TEST_F(CameraListTest, TheNamesArrayIsTheSameForEveryCallerUntilTheNextEnumeration)
{
    ProducerState::Use({{"lan", {"North", "South", "West"}}});
    // A list made before the first enumeration, as a call before initialize makes it.
    CameraList* list = CameraList::Create();
    EXPECT_EQ(list->GetNames()[0], nullptr);
    ASSERT_TRUE(list->Init());
    const char** names = list->GetNames();
    EXPECT_STREQ(names[0], "North");
    EXPECT_STREQ(names[1], "South");
    EXPECT_STREQ(names[2], "West");
    EXPECT_EQ(names[3], nullptr);

    std::atomic<int> wrong{0};
    {
        std::vector<std::unique_ptr<Os::Thread>> threads;
        for (int t = 0; t < 4; ++t) {
            threads.push_back(std::make_unique<Os::Thread>([&] {
                for (int i = 0; i < 2000; ++i) {
                    const char** seen = list->GetNames();
                    if (seen != names || std::strcmp(seen[1], "South") != 0 || seen[3] != nullptr) {
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

    list->Destroy();
    EXPECT_EQ(list->GetNames()[0], nullptr) << "no names of destroyed cameras";
}

TEST_F(CameraListTest, AListThatCannotBeAllocatedIsReportedAndRaisesErr)
{
    // The first allocation is the list itself, the second one its constructor's.
    for (int skip : {0, 1}) {
        SCOPED_TRACE(skip);
        mLog.Clear();
        bool raisedErr = false;
        {
            TestSupport::FailingAllocation failing(skip);
            raisedErr = RaisesErr([] { CameraList::Create(); });
            EXPECT_EQ(failing.Remaining(), 0);
        }
        EXPECT_TRUE(raisedErr);
        EXPECT_EQ(mLog.Messages(), std::vector<std::string>{"CameraList::GetInstance: ERROR: no valid instance\n"});
    }
    EXPECT_EQ(CameraList::Create()->GetCount(), 0) << "the next call makes the list";
}

}
