// Injected failures: once, N times, from the Nth call on, and what a failed
// call leaves behind.
#include "Support.h"

using namespace TliTest;

namespace {

class Faults : public ProducerTest {};

std::vector<GC_ERROR> CountResults(TL_HANDLE library, int calls)
{
    std::vector<GC_ERROR> results;
    for (int i = 0; i < calls; ++i) {
        uint32_t count = 0;
        results.push_back(TLGetNumInterfaces(library, &count));
    }
    return results;
}

constexpr GC_ERROR Ok = GC_ERR_SUCCESS;
constexpr GC_ERROR Timeout = GC_ERR_TIMEOUT;

TEST_F(Faults, OnceNTimesAndFromTheNthCallOn)
{
    Library library;
    ASSERT_EQ(TLICtl_InjectFault("TLGetNumInterfaces", GC_ERR_TIMEOUT, 0, 1), Ok);
    EXPECT_EQ(CountResults(library.Get(), 3), (std::vector<GC_ERROR>{Timeout, Ok, Ok}));

    ASSERT_EQ(TLICtl_InjectFault("TLGetNumInterfaces", GC_ERR_TIMEOUT, 0, 3), Ok);
    EXPECT_EQ(CountResults(library.Get(), 5), (std::vector<GC_ERROR>{Timeout, Timeout, Timeout, Ok, Ok}));

    ASSERT_EQ(TLICtl_InjectFault("TLGetNumInterfaces", GC_ERR_TIMEOUT, 2, 0), Ok);
    EXPECT_EQ(CountResults(library.Get(), 6), (std::vector<GC_ERROR>{Ok, Ok, Timeout, Timeout, Timeout, Timeout}));

    ASSERT_EQ(TLICtl_ClearFaults(), Ok);
    EXPECT_EQ(CountResults(library.Get(), 1), std::vector<GC_ERROR>{Ok});

    // A new fault replaces the one before.
    ASSERT_EQ(TLICtl_InjectFault("TLGetNumInterfaces", GC_ERR_TIMEOUT, 0, 0), Ok);
    ASSERT_EQ(TLICtl_InjectFault("TLGetNumInterfaces", GC_ERR_ERROR, 1, 1), Ok);
    EXPECT_EQ(CountResults(library.Get(), 3), (std::vector<GC_ERROR>{Ok, GC_ERR_ERROR, Ok}));

    ASSERT_EQ(TLICtl_InjectFault("TLGetNumInterfaces", GC_ERR_TIMEOUT, 0, 0), Ok);
    ASSERT_EQ(TLICtl_Reset(), Ok);
    Library fresh;
    EXPECT_EQ(CountResults(fresh.Get(), 1), std::vector<GC_ERROR>{Ok}) << "a reset clears faults";
}

TEST_F(Faults, AFailedCallChangesNothing)
{
    ASSERT_EQ(TLICtl_InjectFault("TLOpen", GC_ERR_ERROR, 0, 1), Ok);
    TL_HANDLE handle = nullptr;
    EXPECT_EQ(TLOpen(&handle), GC_ERR_ERROR);
    EXPECT_EQ(handle, nullptr);

    Library library;
    IF_HANDLE iface = library.OpenInterface(DefaultInterface);
    ASSERT_EQ(TLICtl_InjectFault("TLOpenDevice", GC_ERR_ACCESS_DENIED, 0, 1), Ok);
    DEV_HANDLE device = nullptr;
    EXPECT_EQ(TLOpenDevice(iface, DefaultKx1300, DEVICE_ACCESS_EXCLUSIVE, &device), GC_ERR_ACCESS_DENIED);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(TLOpenDevice(iface, DefaultKx1300, DEVICE_ACCESS_EXCLUSIVE, &device), Ok)
        << "the failed open did not take the camera";

    ASSERT_EQ(TLICtl_InjectFault("DevClose", GC_ERR_ERROR, 0, 1), Ok);
    EXPECT_EQ(DevClose(device), GC_ERR_ERROR);
    EXPECT_EQ(DevClose(device), Ok) << "the handle survived the failed close";
}

TEST_F(Faults, CallsAreCountedFailuresIncluded)
{
    Library library;
    EXPECT_EQ(TLICtl_CallCount("TLOpen"), 1);
    ASSERT_EQ(TLICtl_InjectFault("TLGetNumInterfaces", GC_ERR_ERROR, 0, 1), Ok);
    CountResults(library.Get(), 2);
    EXPECT_EQ(TLICtl_CallCount("TLGetNumInterfaces"), 2);
    EXPECT_EQ(TLICtl_CallCount("GCGetURL"), 0);
    EXPECT_EQ(TLICtl_CallCount("TLGetNumInterface"), -1);
    ASSERT_EQ(TLICtl_Reset(), Ok);
    EXPECT_EQ(TLICtl_CallCount("TLGetNumInterfaces"), 0);
}

TEST_F(Faults, EveryOperationCanBeFaultedByItsName)
{
    const char* operations[] = {
        "TLOpen", "TLClose", "TLGetNumInterfaces", "TLGetInterfaceName", "TLOpenInterface", "TLCloseInterface",
        "TLGetNumDevices", "TLGetDeviceName", "TLOpenDevice", "DevClose", "DevGetInfo", "GCGetURL", "GCReadData",
        "GCWriteData", "DevCreateDataStream", "DSClose", "DSAnnounceBuffer", "DSRevokeBuffer", "DSQueueBuffer",
        "DSStartAcquisition", "DSStopAcquisition", "GCRegisterEvent", "GCGetEventData", "GCUnregisterEvent"};
    for (const char* operation : operations) {
        EXPECT_EQ(TLICtl_InjectFault(operation, GC_ERR_TIMEOUT, 0, 1), Ok) << operation;
        EXPECT_EQ(TLICtl_CallCount(operation), 0) << operation;
    }
    EXPECT_EQ(TLICtl_InjectFault("tlopen", GC_ERR_TIMEOUT, 0, 1), GC_ERR_INVALID_ID);
    EXPECT_EQ(TLICtl_InjectFault(nullptr, GC_ERR_TIMEOUT, 0, 1), GC_ERR_INVALID_ID);
    EXPECT_EQ(TLICtl_InjectFault("TLOpen", GC_ERR_SUCCESS, 0, 1), GC_ERR_INVALID_PARAMETER);

    // Faults come before any check of the arguments.
    EXPECT_EQ(GCGetEventData(nullptr, nullptr, nullptr), GC_ERR_TIMEOUT);
    EXPECT_EQ(DSClose(nullptr), GC_ERR_TIMEOUT);
}

}
