// What a failed request reports: the producer error code and the text.
#include "wire/GvcpStatus.h"

#include <gtest/gtest.h>

using namespace Gige;

namespace {

TEST(GvcpStatusTest, StatusesMapToProducerErrors)
{
    EXPECT_EQ(GvcpStatusToGcError(0x0000), GC_ERR_SUCCESS);
    EXPECT_EQ(GvcpStatusToGcError(0x8003), GC_ERR_INVALID_ADDRESS);
    EXPECT_EQ(GvcpStatusToGcError(0x8005), GC_ERR_INVALID_ADDRESS);
    EXPECT_EQ(GvcpStatusToGcError(0x8004), GC_ERR_ACCESS_DENIED);
    EXPECT_EQ(GvcpStatusToGcError(0x8006), GC_ERR_ACCESS_DENIED);
    for (std::uint16_t status : {0x0100, 0x8001, 0x8002, 0x8007, 0x800C, 0x8FFF, 0x8ABC})
        EXPECT_EQ(GvcpStatusToGcError(status), GC_ERR_ERROR) << std::hex << status;
}

TEST(GvcpStatusTest, TextsNameTheStatus)
{
    EXPECT_EQ(GvcpStatusText(0x8006), "GVCP status 0x8006 (access denied)");
    EXPECT_EQ(GvcpStatusText(0x8003), "GVCP status 0x8003 (invalid address)");
    EXPECT_EQ(GvcpStatusText(0x8abc), "GVCP status 0x8ABC (unknown status)");
    EXPECT_STREQ(GvcpStatusName(0x8011), "packet and previous removed from memory");
}

TEST(GvcpStatusTest, OnlyTheGiveUpStatusesEndResendRequests)
{
    for (std::uint16_t status : {0x800C, 0x8011, 0x8012, 0x8014})
        EXPECT_TRUE(PacketIsGone(status)) << std::hex << status;
    for (std::uint16_t status : {0x0000, 0x0100, 0x8010, 0x8FFF})
        EXPECT_FALSE(PacketIsGone(status)) << std::hex << status;
}

}
