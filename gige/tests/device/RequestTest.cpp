// One control request without a socket: which datagram answers it, and how
// long it waits, tries again and gives up.
#include "control/AckFilter.h"
#include "control/RequestIds.h"
#include "control/RequestTimer.h"
#include "wire/GvcpStatus.h"
#include "wire/MemoryAccess.h"
#include "wire/PendingAck.h"
#include "wire/RegisterAccess.h"

#include <gtest/gtest.h>

using namespace Gige;

namespace {

AckVerdict Filter(const GvcpBuffer& datagram, std::size_t size, const ExpectedAck& expected,
                  std::uint16_t* pendingMs = nullptr)
{
    GvcpAck ack{};
    std::uint16_t pending = 0;
    const AckVerdict verdict = FilterAck(datagram.data(), size, expected, ack, pending);
    if (pendingMs != nullptr)
        *pendingMs = pending;
    return verdict;
}

std::size_t ErrorAck(GvcpCode code, std::uint16_t id, std::uint16_t status, GvcpBuffer& out)
{
    return EncodeAckHeader(AckHeader{status, code, 0, id}, out);
}

}

TEST(Request, OnlyTheAckOfItsIdCodeAndSizeAnswersIt)
{
    const ExpectedAck readReg{GvcpCode::ReadRegAck, 7, 4};
    const std::uint32_t value = 0x12345678;
    GvcpBuffer datagram;

    std::size_t size = EncodeReadRegAck(7, &value, 1, datagram);
    EXPECT_EQ(Filter(datagram, size, readReg), AckVerdict::Answer);
    size = EncodeReadRegAck(6, &value, 1, datagram);
    EXPECT_EQ(Filter(datagram, size, readReg), AckVerdict::Ignore) << "an earlier request's late answer";
    const std::uint32_t two[2] = {1, 2};
    size = EncodeReadRegAck(7, two, 2, datagram);
    EXPECT_EQ(Filter(datagram, size, readReg), AckVerdict::Ignore) << "a body of the wrong size";
    size = EncodeWriteRegAck(7, 1, datagram);
    EXPECT_EQ(Filter(datagram, size, readReg), AckVerdict::Ignore) << "another code";
    EXPECT_EQ(Filter(datagram, 3, readReg), AckVerdict::Ignore) << "no whole header";

    // An error status answers whatever its body: the camera refused.
    size = ErrorAck(GvcpCode::ReadRegAck, 7, GvcpStatus::InvalidAddress, datagram);
    EXPECT_EQ(Filter(datagram, size, readReg), AckVerdict::Answer);
    EXPECT_EQ(GvcpStatusToGcError(GvcpStatus::InvalidAddress), GC_ERR_INVALID_ADDRESS);

    std::uint16_t pendingMs = 0;
    size = EncodePendingAck(7, 1500, datagram);
    EXPECT_EQ(Filter(datagram, size, readReg, &pendingMs), AckVerdict::Pending);
    EXPECT_EQ(pendingMs, 1500);
    size = EncodePendingAck(8, 1500, datagram);
    EXPECT_EQ(Filter(datagram, size, readReg), AckVerdict::Ignore) << "pending for another request";

    const ExpectedAck readMem{GvcpCode::ReadMemAck, 9, 4 + 512};
    std::uint8_t block[512] = {};
    size = EncodeReadMemAck(9, MemoryBlock{0x10000, block, 512}, datagram);
    EXPECT_EQ(Filter(datagram, size, readMem), AckVerdict::Answer);
    size = EncodeReadMemAck(9, MemoryBlock{0x10000, block, 256}, datagram);
    EXPECT_EQ(Filter(datagram, size, readMem), AckVerdict::Ignore);
}

TEST(Request, TriesAgainWithTheSameTimeoutThenGivesUpAndPendingExtendsWithoutATry)
{
    RequestTimer timer(3, 200, 1000);
    EXPECT_EQ(timer.Deadline(), 1200);
    EXPECT_EQ(timer.Remaining(1150), 50u);
    EXPECT_EQ(timer.Remaining(1250), 0u);
    EXPECT_TRUE(timer.NextTry(1200));
    EXPECT_EQ(timer.Deadline(), 1400);

    // The camera needs 1.5 s: no try used, the wait follows its word.
    timer.Extend(1300, 1500);
    EXPECT_EQ(timer.Deadline(), 2800);
    EXPECT_EQ(timer.TriesUsed(), 2u);
    // Less than the time-out still gets the time-out; never earlier than before.
    timer.Extend(2700, 0);
    EXPECT_EQ(timer.Deadline(), 2900);
    timer.Extend(2710, 10);
    EXPECT_EQ(timer.Deadline(), 2910);

    EXPECT_TRUE(timer.NextTry(2910));
    EXPECT_FALSE(timer.NextTry(3110)) << "three tries";
    EXPECT_EQ(timer.TriesUsed(), 3u);

    // A camera that asks for time again and again is cut off.
    RequestTimer stalled(3, 200, 0);
    for (long long now = 0; now < 60000; now += 1000)
        stalled.Extend(now, 65535);
    EXPECT_EQ(stalled.Deadline(), RequestTimer::PendingLimitMs);
}

TEST(Request, IdsAreNeverZeroAndWrapToOne)
{
    RequestIds ids(0xFFFE);
    EXPECT_EQ(ids.Next(), 0xFFFF);
    EXPECT_EQ(ids.Next(), 1);
    EXPECT_EQ(RequestIds().Next(), 1);
}
