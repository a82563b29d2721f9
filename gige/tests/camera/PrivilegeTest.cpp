#include "CameraLab.h"

#include "wire/Bootstrap.h"
#include "wire/GvcpStatus.h"

#include <gtest/gtest.h>

#include <thread>

using namespace CameraLab;
namespace Bootstrap = Gige::Bootstrap;
namespace Status = Gige::GvcpStatus;

TEST(Privilege, OneHostControlsTheCameraAndOthersAtMostRead)
{
    Cameras cameras;
    ControlClient first;
    ControlClient second;
    const std::uint32_t width = Kx1300Register("WidthReg");
    EXPECT_EQ(second.WriteRegister(width, 640), Status::AccessDenied) << "nobody took control";

    ASSERT_EQ(first.TakeControl(), 0);
    EXPECT_EQ(first.ReadRegister(Bootstrap::Ccp), Bootstrap::CcpControl);
    EXPECT_EQ(second.TakeControl(), Status::AccessDenied);
    EXPECT_EQ(second.WriteRegister(width, 640), Status::AccessDenied);
    EXPECT_EQ(second.WriteMemory(width, {0, 0, 2, 0x80}), Status::AccessDenied);
    EXPECT_EQ(second.ReadRegister(width), 1280u) << "control lets others read";

    ASSERT_EQ(first.TakeControl(true), 0);
    std::uint32_t value = 0;
    EXPECT_EQ(second.ReadRegister(width, value), Status::AccessDenied) << "exclusive access does not";

    EXPECT_EQ(first.WriteRegister(Bootstrap::Ccp, 0), 0);
    EXPECT_EQ(second.TakeControl(), 0);
    EXPECT_EQ(first.WriteRegister(width, 640), Status::AccessDenied);
}

TEST(Privilege, AHostThatFallsSilentLosesControlAfterTheHeartbeatTimeout)
{
    Cameras cameras;
    ControlClient first;
    ControlClient second;
    ASSERT_EQ(first.TakeControl(), 0);
    ASSERT_EQ(first.WriteRegister(Bootstrap::HeartbeatTimeout, 500), 0);
    ASSERT_EQ(first.WriteRegister(Bootstrap::Scda(0), HostAddress.Value()), 0);
    ASSERT_EQ(first.WriteRegister(Bootstrap::Scp(0), 50000), 0);
    // Any request keeps control, not only a read of the privilege register.
    for (int i = 0; i < 6; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        first.ReadRegister(Kx1300Register("WidthReg"));
    }
    EXPECT_EQ(second.TakeControl(), Status::AccessDenied);

    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    EXPECT_EQ(second.TakeControl(), 0);
    EXPECT_EQ(first.WriteRegister(Bootstrap::Scp(0), 50001), Status::AccessDenied);
    EXPECT_EQ(second.ReadRegister(Bootstrap::Scp(0)) & Bootstrap::ScpHostPortMask, 0u)
        << "the stream channel of the host that went closes";

    // With the heartbeat disabled, control stays however long the host is silent.
    ASSERT_EQ(second.WriteRegister(Bootstrap::GvcpConfig, Bootstrap::GvcpConfigHeartbeatDisable), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    EXPECT_EQ(first.TakeControl(), Status::AccessDenied);
}
