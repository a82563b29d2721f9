// Control of the camera: one controller at a time, kept by the heartbeat,
// given back at close; closing the library ends every thread.
#include "LabProducer.h"
#include "Session.h"

#include "os/System.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

using namespace Lab;

TEST(Privilege, ASecondControllerIsRefusedAtOnceUntilTheFirstCloses)
{
    Session first;
    GC_ERROR result = 0;
    DEV_HANDLE held = first.Open(Camera, result);
    ASSERT_EQ(result, GC_ERR_SUCCESS) << LastError();

    // Another library: a control socket of its own, another controller to the camera.
    Session second;
    const long long start = Os::MonotonicMilliseconds();
    EXPECT_EQ(second.Open(Camera, result), nullptr);
    EXPECT_EQ(result, GC_ERR_ACCESS_DENIED);
    EXPECT_LT(Os::MonotonicMilliseconds() - start, 150) << "read, not waited for";
    EXPECT_NE(LastError().find("another application controls the camera"), std::string::npos) << LastError();

    // Read-only takes no privilege: it may look while the first controls.
    DEV_HANDLE looking = second.Open(Camera, result, DEVICE_ACCESS_READONLY);
    ASSERT_EQ(result, GC_ERR_SUCCESS) << LastError();
    EXPECT_EQ(ReadRegister(looking, 0x0A00), 1u);
    const unsigned char zero[4] = {};
    size_t size = sizeof zero;
    EXPECT_EQ(Load().GCWriteData(looking, 0x0A00, zero, &size), GC_ERR_ACCESS_DENIED);
    EXPECT_EQ(Load().DevClose(looking), GC_ERR_SUCCESS);

    EXPECT_EQ(Load().DevClose(held), GC_ERR_SUCCESS) << LastError();
    DEV_HANDLE next = second.Open(Camera, result);
    ASSERT_EQ(result, GC_ERR_SUCCESS) << LastError();
    EXPECT_EQ(ReadRegister(next, 0x0A00), 1u);
    EXPECT_EQ(Load().DevClose(next), GC_ERR_SUCCESS);
}

TEST(Heartbeat, KeepsControlThroughIdleLongerThanTheCamerasTimeout)
{
    Session session;
    GC_ERROR result = 0;
    DEV_HANDLE device = session.Open(Camera, result, DEVICE_ACCESS_CONTROL);
    ASSERT_EQ(result, GC_ERR_SUCCESS) << LastError();
    EXPECT_EQ(ReadRegister(device, 0x0A00), 2u) << "control access";
    // The fake camera drops a controller it has not heard from for 3 s.
    std::this_thread::sleep_for(std::chrono::milliseconds(4000));
    EXPECT_EQ(ReadRegister(device, 0x0A00), 2u);
    EXPECT_EQ(Load().DevClose(device), GC_ERR_SUCCESS);
}

#if !defined(_WIN32)
namespace {

std::size_t Threads()
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

}

TEST(Library, ClosingTheLibraryClosesItsDevicesAndEndsEveryThread)
{
    const std::size_t before = Threads();
    TL_HANDLE library = nullptr;
    {
        Session session;
        GC_ERROR result = 0;
        ASSERT_NE(session.Open(Camera, result), nullptr) << LastError();
        EXPECT_GT(Threads(), before) << "the heartbeat runs";
        library = session.Library();
    }
    EXPECT_EQ(Threads(), before);
    EXPECT_EQ(Load().TLClose(library), GC_ERR_INVALID_HANDLE);
    EXPECT_NE(LastError().find("TLClose: the library handle is not open"), std::string::npos) << LastError();

    // The camera was given back: a new library takes it at once.
    Session again;
    GC_ERROR result = 0;
    DEV_HANDLE device = again.Open(Camera, result);
    EXPECT_EQ(result, GC_ERR_SUCCESS) << LastError();
    EXPECT_EQ(Load().DevClose(device), GC_ERR_SUCCESS);
}
#endif
