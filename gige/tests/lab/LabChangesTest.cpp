// What the producer does when the lab changes under it: the camera dies, a
// camera sits on another subnet, control packets are lost. Each test puts
// the lab back as it found it. They drive tools/gige-lab.sh, a Linux script.
#include "LabProducer.h"
#include "Session.h"

#include "os/System.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Lab;

#if !defined(_WIN32)

namespace {

// Runs the script's "undo" when the test ends, however it ends.
class LabChange {
public:
    LabChange(const std::string& apply, std::string undo) : mUndo(std::move(undo))
    {
        mApplied = LabScript(apply);
    }
    ~LabChange() { EXPECT_TRUE(LabScript(mUndo)) << "gige-lab.sh " << mUndo; }
    bool Applied() const { return mApplied; }

private:
    std::string mUndo;
    bool mApplied = false;
};

}

TEST(Heartbeat, AStoppedCameraFailsAccessesWithinItsTimeoutThenAtOnce)
{
    Session session;
    GC_ERROR result = 0;
    DEV_HANDLE device = session.Open(Camera, result);
    ASSERT_EQ(result, GC_ERR_SUCCESS) << LastError();
    {
        LabChange stopped("camera stop", "camera start");
        ASSERT_TRUE(stopped.Applied());
        const long long stop = Os::MonotonicMilliseconds();
        unsigned char bytes[4];
        long long failedFastAt = 0;
        while (Os::MonotonicMilliseconds() - stop < 6000) {
            size_t size = sizeof bytes;
            const long long start = Os::MonotonicMilliseconds();
            const GC_ERROR read = Load().GCReadData(device, 0x0A00, bytes, &size);
            if (read != GC_ERR_SUCCESS && Os::MonotonicMilliseconds() - start < 50) {
                EXPECT_EQ(read, GC_ERR_TIMEOUT);
                failedFastAt = start;
                break;
            }
        }
        ASSERT_NE(failedFastAt, 0) << "accesses still wait after 6 s";
        EXPECT_LE(failedFastAt - stop, 3000) << "within the camera's heartbeat timeout";
        EXPECT_NE(LastError().find("heartbeat lost"), std::string::npos) << LastError();
        EXPECT_NE(LastError().find(Camera + " (169.254.100.1)"), std::string::npos) << LastError();

        // A lost camera gives no stream, and closes without waiting.
        DS_HANDLE stream = nullptr;
        EXPECT_EQ(Load().DevCreateDataStream(device, 0, &stream), GC_ERR_TIMEOUT);
        const long long close = Os::MonotonicMilliseconds();
        EXPECT_EQ(Load().DevClose(device), GC_ERR_SUCCESS);
        EXPECT_LT(Os::MonotonicMilliseconds() - close, 100);
    }
}

TEST(Discovery, ACameraOnAnotherSubnetIsListedAndItsOpenNamesBothAddresses)
{
    LabChange otherSubnet("other-subnet", "other-subnet off");
    ASSERT_TRUE(otherSubnet.Applied());
    Session session("kxhost0 (169.254.100.2/24)");
    const std::vector<std::string> expected{Camera, "Aravis Fake (GV02)"};
    EXPECT_EQ(session.Cameras(), expected) << "ordered by address";
    GC_ERROR result = 0;
    EXPECT_EQ(session.Open("Aravis Fake (GV02)", result), nullptr);
    EXPECT_EQ(result, GC_ERR_ACCESS_DENIED);
    EXPECT_NE(LastError().find("169.254.200.1 is not in the subnet of kxhost0 (169.254.100.2/24)"),
              std::string::npos)
        << LastError();
    DEV_HANDLE device = session.Open(Camera, result);
    EXPECT_EQ(result, GC_ERR_SUCCESS) << LastError();
    EXPECT_EQ(Load().DevClose(device), GC_ERR_SUCCESS);
}

TEST(Control, OnePercentOfControlPacketsLostFailsNoAccess)
{
    LabChange loss("loss 1 gvcp", "loss off");
    ASSERT_TRUE(loss.Applied());
    Session session;
    ASSERT_EQ(session.Cameras(), std::vector<std::string>{Camera});
    GC_ERROR result = 0;
    DEV_HANDLE device = session.Open(Camera, result);
    ASSERT_EQ(result, GC_ERR_SUCCESS) << LastError();
    std::string xml(0x3e67, '\0');
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 20; ++i)
            ASSERT_EQ(ReadRegister(device, 0x01F0), 0x12345678u);
        size_t size = xml.size();
        ASSERT_EQ(Load().GCReadData(device, 0x10000, &xml[0], &size), GC_ERR_SUCCESS) << LastError();
    }
    EXPECT_EQ(Load().DevClose(device), GC_ERR_SUCCESS);
}

#endif
