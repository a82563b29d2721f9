// READREG and WRITEREG both ways: the host's commands and the camera's acks
// against datagrams written out by hand, and bodies of the wrong size.
#include "WireBytes.h"

#include "wire/RegisterAccess.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Gige;
using namespace WireTest;

namespace {

// CCP and capability in one request, ID 65300; the camera answers control
// and 0x80000025.
const Bytes ReadTwo = {0x42, 0x01, 0x00, 0x80, 0x00, 0x08, 0xFF, 0x14,
                       0x00, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x09, 0x34};
const Bytes ReadTwoAck = {0x00, 0x00, 0x00, 0x81, 0x00, 0x08, 0xFF, 0x14,
                          0x00, 0x00, 0x00, 0x02, 0x80, 0x00, 0x00, 0x25};
// CCP = control, then SCP0 = port 0x4E20; the camera wrote both.
const Bytes WriteTwo = {0x42, 0x01, 0x00, 0x82, 0x00, 0x10, 0x00, 0x01, 0x00, 0x00, 0x0A, 0x00,
                        0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x0D, 0x00, 0x00, 0x00, 0x4E, 0x20};
const Bytes WriteTwoAck = {0x00, 0x00, 0x00, 0x83, 0x00, 0x04, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02};

TEST(RegisterAccessTest, ReadRegBothWays)
{
    GvcpBuffer out{};
    const std::uint32_t addresses[] = {0x0A00, 0x0934};
    EXPECT_EQ(Sent(out, EncodeReadRegCommand(65300, addresses, 2, out)), ReadTwo);
    std::vector<std::uint32_t> asked;
    ASSERT_EQ(DecodeReadRegCommand(CommandOf(ReadTwo), asked), WireError::None);
    EXPECT_EQ(asked, std::vector<std::uint32_t>({0x0A00, 0x0934}));

    const std::uint32_t values[] = {0x00000002, 0x80000025};
    EXPECT_EQ(Sent(out, EncodeReadRegAck(65300, values, 2, out)), ReadTwoAck);
    std::uint32_t read[2] = {};
    ASSERT_EQ(DecodeReadRegAck(AckOf(ReadTwoAck), read, 2), WireError::None);
    EXPECT_EQ(read[0], 0x00000002u);
    EXPECT_EQ(read[1], 0x80000025u);
}

TEST(RegisterAccessTest, WriteRegBothWays)
{
    GvcpBuffer out{};
    const RegisterWrite writes[] = {{0x0A00, 2}, {0x0D00, 0x4E20}};
    EXPECT_EQ(Sent(out, EncodeWriteRegCommand(1, writes, 2, out)), WriteTwo);
    std::vector<RegisterWrite> received;
    ASSERT_EQ(DecodeWriteRegCommand(CommandOf(WriteTwo), received), WireError::None);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1].mAddress, 0x0D00u);
    EXPECT_EQ(received[1].mValue, 0x4E20u);

    EXPECT_EQ(Sent(out, EncodeWriteRegAck(1, 2, out)), WriteTwoAck);
    std::uint16_t index = 0;
    ASSERT_EQ(DecodeWriteRegAck(AckOf(WriteTwoAck), index), WireError::None);
    EXPECT_EQ(index, 2);
}

TEST(RegisterAccessTest, CountsAndBodiesThatDoNotFitAreRefused)
{
    GvcpBuffer out{};
    const std::vector<std::uint32_t> many(MaxReadRegCount + 1, 0x0A00);
    EXPECT_EQ(EncodeReadRegCommand(1, many.data(), 0, out), 0u);
    EXPECT_EQ(EncodeReadRegCommand(1, many.data(), MaxReadRegCount, out), GvcpMaxDatagram);
    EXPECT_EQ(EncodeReadRegCommand(1, many.data(), MaxReadRegCount + 1, out), 0u);
    EXPECT_EQ(EncodeReadRegAck(1, many.data(), MaxReadRegCount + 1, out), 0u);
    const std::vector<RegisterWrite> writes(MaxWriteRegCount + 1, {0x0A00, 2});
    EXPECT_EQ(EncodeWriteRegCommand(1, writes.data(), MaxWriteRegCount + 1, out), 0u);

    // The ack holds one value where the host asked for two, or answers another command.
    std::uint32_t values[2] = {};
    const Bytes oneValue = {0x00, 0x00, 0x00, 0x81, 0x00, 0x04, 0xFF, 0x14, 0x00, 0x00, 0x00, 0x02};
    EXPECT_EQ(DecodeReadRegAck(AckOf(oneValue), values, 2), WireError::BadBodySize);
    EXPECT_EQ(DecodeReadRegAck(AckOf(WriteTwoAck), values, 1), WireError::UnexpectedMessage);
    std::uint16_t index = 0;
    EXPECT_EQ(DecodeWriteRegAck(AckOf(oneValue), index), WireError::UnexpectedMessage);

    // Commands whose body is not whole addresses or address-value pairs.
    std::vector<std::uint32_t> addresses;
    std::vector<RegisterWrite> pairs;
    const Bytes empty = {0x42, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00, 0x01};
    const Bytes partAddress = {0x42, 0x01, 0x00, 0x80, 0x00, 0x02, 0x00, 0x01, 0x0A, 0x00};
    const Bytes halfPair = {0x42, 0x01, 0x00, 0x82, 0x00, 0x04, 0x00, 0x01, 0x00, 0x00, 0x0A, 0x00};
    EXPECT_EQ(DecodeReadRegCommand(CommandOf(empty), addresses), WireError::BadBodySize);
    EXPECT_EQ(DecodeReadRegCommand(CommandOf(partAddress), addresses), WireError::BadBodySize);
    EXPECT_EQ(DecodeWriteRegCommand(CommandOf(halfPair), pairs), WireError::BadBodySize);
    EXPECT_EQ(DecodeWriteRegCommand(CommandOf(ReadTwo), pairs), WireError::UnexpectedMessage);
}

}
