// The smaller control messages against datagrams written out by hand:
// PACKETRESEND with standard and extended IDs, PENDING_ACK and FORCEIP.
#include "WireBytes.h"

#include "wire/ForceIp.h"
#include "wire/PacketResend.h"
#include "wire/PendingAck.h"

#include <gtest/gtest.h>

using namespace Gige;
using namespace WireTest;

namespace {

// Channel 0, block 0x1234, packets 5 to 9; no ack asked for.
const Bytes StandardResend = {0x42, 0x00, 0x00, 0x40, 0x00, 0x0C, 0x00, 0x07, 0x00, 0x00, 0x12, 0x34,
                              0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x09};
// Channel 1, packets 0x10000 to 0x10005 of block 0x0000000100000002.
const Bytes ExtendedResend = {0x42, 0x10, 0x00, 0x40, 0x00, 0x14, 0x00, 0x08, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01,
                              0x00, 0x00, 0x00, 0x01, 0x00, 0x05, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02};

bool operator==(const PacketResend& a, const PacketResend& b)
{
    return a.mExtended == b.mExtended && a.mChannel == b.mChannel && a.mBlockId == b.mBlockId &&
           a.mFirstPacket == b.mFirstPacket && a.mLastPacket == b.mLastPacket;
}

TEST(ControlMessagesTest, PacketResendWithStandardAndExtendedIds)
{
    const PacketResend standard{false, 0, 0x1234, 5, 9};
    const PacketResend extended{true, 1, 0x0000000100000002, 0x10000, 0x10005};
    GvcpBuffer out{};
    EXPECT_EQ(Sent(out, EncodePacketResend(7, standard, out)), StandardResend);
    EXPECT_EQ(Sent(out, EncodePacketResend(8, extended, out)), ExtendedResend);
    PacketResend decoded{};
    ASSERT_EQ(DecodePacketResend(CommandOf(StandardResend), decoded), WireError::None);
    EXPECT_TRUE(decoded == standard);
    ASSERT_EQ(DecodePacketResend(CommandOf(ExtendedResend), decoded), WireError::None);
    EXPECT_TRUE(decoded == extended);

    // Standard IDs have 16 and 24 bits; the reserved top byte of a packet ID is not part of it.
    EXPECT_EQ(EncodePacketResend(1, {false, 0, 0x10000, 1, 1}, out), 0u);
    EXPECT_EQ(EncodePacketResend(1, {false, 0, 1, 0x1000000, 0x1000000}, out), 0u);
    Bytes reserved = StandardResend;
    reserved[12] = 0xFF;
    ASSERT_EQ(DecodePacketResend(CommandOf(reserved), decoded), WireError::None);
    EXPECT_EQ(decoded.mFirstPacket, 5u);

    // The extended-ID flag decides the body's size.
    Bytes flagWithoutIds = StandardResend;
    flagWithoutIds[1] = 0x10;
    EXPECT_EQ(DecodePacketResend(CommandOf(flagWithoutIds), decoded), WireError::BadBodySize);
}

TEST(ControlMessagesTest, PendingAckCarriesTheTimeToCompletion)
{
    const Bytes pending = {0x00, 0x00, 0x00, 0x89, 0x00, 0x04, 0x12, 0x34, 0x00, 0x00, 0x01, 0xF4};
    GvcpBuffer out{};
    EXPECT_EQ(Sent(out, EncodePendingAck(0x1234, 500, out)), pending);
    std::uint16_t milliseconds = 0;
    ASSERT_EQ(DecodePendingAck(AckOf(pending), milliseconds), WireError::None);
    EXPECT_EQ(milliseconds, 500);
    const Bytes cut = {0x00, 0x00, 0x00, 0x89, 0x00, 0x02, 0x12, 0x34, 0x01, 0xF4};
    EXPECT_EQ(DecodePendingAck(AckOf(cut), milliseconds), WireError::BadBodySize);
}

TEST(ControlMessagesTest, ForceIpPlacesMacAndAddressesAtTheirOffsets)
{
    const Bytes force = {0x42, 0x11, 0x00, 0x04, 0x00, 0x38, 0x00, 0x03,
                         0x00, 0x00, 0x00, 0x11, 0x1C, 0x00, 0x2A, 0x3B,   // MAC at +2
                         0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                         0x00, 0x00, 0x00, 0x00, 0xA9, 0xFE, 0x64, 0x0B,   // IP at +20
                         0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                         0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00,   // mask at +36
                         0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                         0x00, 0x00, 0x00, 0x00, 0xA9, 0xFE, 0x00, 0x01};  // gateway at +52
    const ForceIp address{{0x00, 0x11, 0x1C, 0x00, 0x2A, 0x3B}, 0xA9FE640B, 0xFFFF0000, 0xA9FE0001};
    GvcpBuffer out{};
    EXPECT_EQ(Sent(out, EncodeForceIpCommand(3, address, true, out)), force);
    ForceIp decoded{};
    ASSERT_EQ(DecodeForceIpCommand(CommandOf(force), decoded), WireError::None);
    EXPECT_EQ(decoded.mMac, address.mMac);
    EXPECT_EQ(decoded.mIp, address.mIp);
    EXPECT_EQ(decoded.mSubnetMask, address.mSubnetMask);
    EXPECT_EQ(decoded.mGateway, address.mGateway);
    EXPECT_EQ(DecodeForceIpCommand(CommandOf(StandardResend), decoded), WireError::UnexpectedMessage);
}

}
