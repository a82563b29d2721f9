// DISCOVERY and its ack: the 248 bytes of bootstrap registers placed at the
// offsets of the register table, texts that fill their field, and sizes a
// camera or host must refuse.
#include "WireBytes.h"

#include "wire/Discovery.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

using namespace Gige;
using namespace WireTest;

namespace {

// The ack to request 0xFFFF, its body at register address 0.
Bytes DiscoveryAck()
{
    Bytes ack(8 + 248, 0);
    const Bytes header = {0x00, 0x00, 0x00, 0x03, 0x00, 0xF8, 0xFF, 0xFF};
    std::copy(header.begin(), header.end(), ack.begin());
    auto place = [&](std::size_t address, std::initializer_list<std::uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), ack.begin() + 8 + static_cast<std::ptrdiff_t>(address));
    };
    auto text = [&](std::size_t address, const std::string& value) {
        std::copy(value.begin(), value.end(), ack.begin() + 8 + static_cast<std::ptrdiff_t>(address));
    };
    place(0x0000, {0x00, 0x02, 0x00, 0x01});                      // version 2.1
    place(0x0004, {0x80, 0x00, 0x00, 0x01});                      // big-endian, UTF-8
    place(0x0008, {0x00, 0x00, 0x00, 0x11, 0x1C, 0x00, 0x2A, 0x3B}); // MAC 00:11:1C:00:2A:3B
    place(0x0010, {0x00, 0x00, 0x00, 0x07});
    place(0x0014, {0x00, 0x00, 0x00, 0x04});                      // link-local
    place(0x0024, {0xA9, 0xFE, 0x64, 0x01});                      // 169.254.100.1
    place(0x0034, {0xFF, 0xFF, 0x00, 0x00});
    place(0x0044, {0xA9, 0xFE, 0x00, 0x01});
    text(0x0048, "Kavrix");
    text(0x0068, "KX-1300-60gm");
    text(0x0088, "1.0.0");
    text(0x00A8, "made for tests");
    text(0x00D8, "2181074221810742");                             // all 16 bytes, no NUL
    text(0x00E8, "Line 3 Top");
    return ack;
}

TEST(DiscoveryTest, CommandAsksForAnAckAndMayAllowABroadcastOne)
{
    GvcpBuffer out{};
    EXPECT_EQ(Sent(out, EncodeDiscoveryCommand(0xFFFF, true, out)), Bytes({0x42, 0x11, 0x00, 0x02, 0x00, 0x00, 0xFF, 0xFF}));
    EXPECT_EQ(Sent(out, EncodeDiscoveryCommand(7, false, out)), Bytes({0x42, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x07}));

    bool broadcast = false;
    const Bytes allowed = {0x42, 0x11, 0x00, 0x02, 0x00, 0x00, 0xFF, 0xFF};
    ASSERT_EQ(DecodeDiscoveryCommand(CommandOf(allowed), broadcast), WireError::None);
    EXPECT_TRUE(broadcast);
    const Bytes withBody = {0x42, 0x01, 0x00, 0x02, 0x00, 0x04, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(DecodeDiscoveryCommand(CommandOf(withBody), broadcast), WireError::BadBodySize);
}

TEST(DiscoveryTest, AckDecodesEveryFieldAndEncodesTheSameBytes)
{
    const Bytes bytes = DiscoveryAck();
    DeviceInfo info{};
    ASSERT_EQ(DecodeDiscoveryAck(AckOf(bytes), info), WireError::None);
    EXPECT_EQ(info.mVersion, 0x00020001u);
    EXPECT_EQ(info.mDeviceMode, 0x80000001u);
    EXPECT_EQ(info.mMac, (MacAddress{0x00, 0x11, 0x1C, 0x00, 0x2A, 0x3B}));
    EXPECT_EQ(info.mIpConfigOptions, 7u);
    EXPECT_EQ(info.mIpConfigCurrent, 4u);
    EXPECT_EQ(info.mIp, 0xA9FE6401u);
    EXPECT_EQ(info.mSubnetMask, 0xFFFF0000u);
    EXPECT_EQ(info.mGateway, 0xA9FE0001u);
    EXPECT_EQ(info.mManufacturer, "Kavrix");
    EXPECT_EQ(info.mModel, "KX-1300-60gm");
    EXPECT_EQ(info.mDeviceVersion, "1.0.0");
    EXPECT_EQ(info.mManufacturerInfo, "made for tests");
    EXPECT_EQ(info.mSerial, "2181074221810742") << "a full field without NUL ends at the field";
    EXPECT_EQ(info.mUserName, "Line 3 Top");

    GvcpBuffer out{};
    EXPECT_EQ(Sent(out, EncodeDiscoveryAck(0xFFFF, info, out)), bytes);
    info.mUserName = "seventeen chars!!";
    EXPECT_EQ(EncodeDiscoveryAck(0xFFFF, info, out), 0u) << "a text too long for its field is not cut";
}

TEST(DiscoveryTest, AckOfAnotherSizeIsRefused)
{
    Bytes bytes = DiscoveryAck();
    bytes.pop_back();
    bytes[5] = 0xF7;
    DeviceInfo info{};
    EXPECT_EQ(DecodeDiscoveryAck(AckOf(bytes), info), WireError::BadBodySize);
    EXPECT_TRUE(info.mModel.empty());
}

}
