// READMEM and WRITEMEM both ways against datagrams written out by hand, and
// the byte counts neither side may use.
#include "WireBytes.h"

#include "wire/MemoryAccess.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Gige;
using namespace WireTest;

namespace {

// 512 bytes of the first URL, request 0x1234; the ack of a 4-byte read there.
const Bytes ReadUrl = {0x42, 0x01, 0x00, 0x84, 0x00, 0x08, 0x12, 0x34, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x00};
const Bytes ReadUrlAck = {0x00, 0x00, 0x00, 0x85, 0x00, 0x08, 0x12, 0x34, 0x00, 0x00, 0x02, 0x00, 'L', 'o', 'c', 'a'};
const Bytes WriteWord = {0x42, 0x01, 0x00, 0x86, 0x00, 0x08, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00, 0xDE, 0xAD, 0xBE, 0xEF};
const Bytes WriteWordAck = {0x00, 0x00, 0x00, 0x87, 0x00, 0x04, 0x00, 0x02, 0x00, 0x00, 0x00, 0x04};

TEST(MemoryAccessTest, ReadMemBothWays)
{
    GvcpBuffer out{};
    EXPECT_EQ(Sent(out, EncodeReadMemCommand(0x1234, 0x0200, 512, out)), ReadUrl);
    std::uint32_t address = 0;
    std::size_t count = 0;
    ASSERT_EQ(DecodeReadMemCommand(CommandOf(ReadUrl), address, count), WireError::None);
    EXPECT_EQ(address, 0x0200u);
    EXPECT_EQ(count, 512u);

    const std::uint8_t text[] = {'L', 'o', 'c', 'a'};
    EXPECT_EQ(Sent(out, EncodeReadMemAck(0x1234, {0x0200, text, 4}, out)), ReadUrlAck);
    MemoryBlock block{};
    ASSERT_EQ(DecodeReadMemAck(AckOf(ReadUrlAck), block), WireError::None);
    EXPECT_EQ(block.mAddress, 0x0200u);
    EXPECT_EQ(block.mData, ReadUrlAck.data() + 12) << "the data is not copied";
    EXPECT_EQ(block.mSize, 4u);
}

TEST(MemoryAccessTest, WriteMemBothWays)
{
    GvcpBuffer out{};
    const std::uint8_t word[] = {0xDE, 0xAD, 0xBE, 0xEF};
    EXPECT_EQ(Sent(out, EncodeWriteMemCommand(2, {0x10000, word, 4}, out)), WriteWord);
    MemoryBlock block{};
    ASSERT_EQ(DecodeWriteMemCommand(CommandOf(WriteWord), block), WireError::None);
    EXPECT_EQ(block.mAddress, 0x10000u);
    EXPECT_EQ(Bytes(block.mData, block.mData + block.mSize), Bytes(word, word + 4));

    EXPECT_EQ(Sent(out, EncodeWriteMemAck(2, 4, out)), WriteWordAck);
    std::uint16_t index = 0;
    ASSERT_EQ(DecodeWriteMemAck(AckOf(WriteWordAck), index), WireError::None);
    EXPECT_EQ(index, 4);
}

TEST(MemoryAccessTest, CountsMustBeWholeWordsUpTo536)
{
    for (std::size_t count : {0u, 3u, 6u, 540u})
        EXPECT_FALSE(IsValidMemoryCount(count)) << count;
    for (std::size_t count : {4u, 512u, 536u})
        EXPECT_TRUE(IsValidMemoryCount(count)) << count;

    GvcpBuffer out{};
    const std::vector<std::uint8_t> data(540, 0xAB);
    EXPECT_EQ(EncodeReadMemCommand(1, 0, 6, out), 0u);
    EXPECT_EQ(EncodeReadMemCommand(1, 0, 540, out), 0u);
    EXPECT_EQ(EncodeWriteMemCommand(1, {0, data.data(), 536}, out), GvcpMaxDatagram);
    EXPECT_EQ(EncodeWriteMemCommand(1, {0, data.data(), 0}, out), 0u);
    EXPECT_EQ(EncodeWriteMemCommand(1, {0, data.data(), 540}, out), 0u);
    EXPECT_EQ(EncodeReadMemAck(1, {0, data.data(), 2}, out), 0u);

    std::uint32_t address = 0;
    std::size_t count = 0;
    auto readCount = [&](std::uint8_t high, std::uint8_t low) {
        const Bytes read = {0x42, 0x01, 0x00, 0x84, 0x00, 0x08, 0x00, 0x01, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, high, low};
        return DecodeReadMemCommand(CommandOf(read), address, count);
    };
    EXPECT_EQ(readCount(0x00, 0x00), WireError::BadCount);
    EXPECT_EQ(readCount(0x00, 0x06), WireError::BadCount);
    EXPECT_EQ(readCount(0x02, 0x1C), WireError::BadCount) << "540";
    EXPECT_EQ(readCount(0x02, 0x18), WireError::None) << "536";
    const Bytes shortRead = {0x42, 0x01, 0x00, 0x84, 0x00, 0x04, 0x00, 0x01, 0x00, 0x00, 0x02, 0x00};
    EXPECT_EQ(DecodeReadMemCommand(CommandOf(shortRead), address, count), WireError::BadBodySize);

    MemoryBlock block{};
    const Bytes noData = {0x42, 0x01, 0x00, 0x86, 0x00, 0x04, 0x00, 0x01, 0x00, 0x00, 0x02, 0x00};
    const Bytes oddData = {0x42, 0x01, 0x00, 0x86, 0x00, 0x06, 0x00, 0x01, 0x00, 0x00, 0x02, 0x00, 0xAA, 0xBB};
    const Bytes noAddress = {0x42, 0x01, 0x00, 0x86, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00};
    EXPECT_EQ(DecodeWriteMemCommand(CommandOf(noData), block), WireError::BadCount);
    EXPECT_EQ(DecodeWriteMemCommand(CommandOf(oddData), block), WireError::BadCount);
    EXPECT_EQ(DecodeWriteMemCommand(CommandOf(noAddress), block), WireError::BadBodySize);
    const Bytes ackWithoutAddress = {0x00, 0x00, 0x00, 0x85, 0x00, 0x02, 0x12, 0x34, 0x00, 0x00};
    EXPECT_EQ(DecodeReadMemAck(AckOf(ackWithoutAddress), block), WireError::BadBodySize);
    EXPECT_EQ(DecodeReadMemAck(AckOf(WriteWordAck), block), WireError::UnexpectedMessage);
}

}
