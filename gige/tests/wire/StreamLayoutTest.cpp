// Where each payload packet lands in a frame, from the packet size.
#include "wire/StreamLayout.h"

#include <gtest/gtest.h>

using namespace Gige;

namespace {

TEST(StreamLayoutTest, PayloadPerPacketIsThePacketSizeLessTheHeaders)
{
    EXPECT_EQ(PayloadBytesPerPacket(1400, false), 1364u);
    EXPECT_EQ(PayloadBytesPerPacket(9000, false), 8964u);
    EXPECT_EQ(PayloadBytesPerPacket(1400, true), 1352u);
    EXPECT_EQ(PayloadBytesPerPacket(0x40000000 | 1400, false), 1364u) << "the flags of SCPS are no size";
    EXPECT_EQ(PayloadBytesPerPacket(36, false), 0u);
    EXPECT_EQ(PayloadBytesPerPacket(40, true), 0u);
}

TEST(StreamLayoutTest, PacketsFillTheFrameInOrder)
{
    // 512 x 512 Mono8 at SCPS 1400: 193 payload packets, the last one of 256 bytes.
    const std::uint64_t frame = 512 * 512;
    EXPECT_EQ(PayloadPacketCount(frame, 1364), 193u);
    EXPECT_EQ(PayloadPacketCount(2728, 1364), 2u);
    EXPECT_EQ(PayloadPacketCount(0, 1364), 0u);
    EXPECT_EQ(PayloadPacketCount(frame, 0), 0u);
    EXPECT_EQ(PayloadOffset(1, 1364), 0u);
    EXPECT_EQ(PayloadOffset(2, 1364), 1364u);
    EXPECT_EQ(PayloadOffset(193, 1364), 261888u);
    EXPECT_EQ(PayloadOffset(0xFFFFFFFF, 8964), 0xFFFFFFFEull * 8964);
}

TEST(StreamLayoutTest, OnlyPacketsInsideTheBufferFit)
{
    const std::uint64_t frame = 512 * 512;
    EXPECT_TRUE(PayloadFits(1, 1364, 1364, frame));
    EXPECT_TRUE(PayloadFits(193, 256, 1364, frame));
    EXPECT_FALSE(PayloadFits(193, 257, 1364, frame)) << "past the buffer's end";
    EXPECT_FALSE(PayloadFits(194, 1, 1364, frame));
    EXPECT_FALSE(PayloadFits(0, 1, 1364, frame)) << "packet 0 is the leader";
    EXPECT_FALSE(PayloadFits(2, 1365, 1364, frame)) << "would overwrite the next packet";
    EXPECT_FALSE(PayloadFits(0xFFFFFFFF, 8964, 8964, frame));
}

}
