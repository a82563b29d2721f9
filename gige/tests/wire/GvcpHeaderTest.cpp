// The control header: byte order and offsets against datagrams written out
// by hand, and the datagrams a host or camera must refuse.
#include "WireBytes.h"

#include "wire/GvcpHeader.h"

#include <gtest/gtest.h>

using namespace Gige;
using namespace WireTest;

namespace {

// READREG of 0x0A00 with request ID 65300.
const Bytes ReadRegCommand = {0x42, 0x01, 0x00, 0x80, 0x00, 0x04, 0xFF, 0x14, 0x00, 0x00, 0x0A, 0x00};
// An access-denied WRITEREG ack to request 2.
const Bytes DeniedAck = {0x80, 0x06, 0x00, 0x83, 0x00, 0x04, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00};

TEST(GvcpHeaderTest, CommandAndAckHeadersRoundTripTheirBytes)
{
    GvcpCommand command{};
    ASSERT_EQ(DecodeCommand(ReadRegCommand.data(), ReadRegCommand.size(), command), WireError::None);
    EXPECT_EQ(command.mHeader.mFlags, CommandFlag::AckRequired);
    EXPECT_EQ(command.mHeader.mCommand, GvcpCode::ReadRegCmd);
    EXPECT_EQ(command.mHeader.mLength, 4);
    EXPECT_EQ(command.mHeader.mRequestId, 65300);
    EXPECT_EQ(command.mBody, ReadRegCommand.data() + 8);

    GvcpAck ack{};
    ASSERT_EQ(DecodeAck(DeniedAck.data(), DeniedAck.size(), ack), WireError::None);
    EXPECT_EQ(ack.mHeader.mStatus, 0x8006);
    EXPECT_EQ(ack.mHeader.mAck, GvcpCode::WriteRegAck);
    EXPECT_EQ(ack.mHeader.mLength, 4);
    EXPECT_EQ(ack.mHeader.mAckId, 2);
    EXPECT_EQ(ack.mBody, DeniedAck.data() + 8);

    GvcpBuffer out{};
    ASSERT_EQ(EncodeCommandHeader(command.mHeader, out), GvcpHeaderSize);
    EXPECT_EQ(Sent(out, 8), Bytes(ReadRegCommand.begin(), ReadRegCommand.begin() + 8));
    ASSERT_EQ(EncodeAckHeader(ack.mHeader, out), GvcpHeaderSize);
    EXPECT_EQ(Sent(out, 8), Bytes(DeniedAck.begin(), DeniedAck.begin() + 8));
}

TEST(GvcpHeaderTest, MalformedDatagramsAreRefusedAndLeaveTheOutputAlone)
{
    const GvcpCommand untouched{{0x77, GvcpCode::ActionCmd, 1, 1}, nullptr};
    auto command = [&](const Bytes& bytes) {
        GvcpCommand decoded = untouched;
        const WireError error = DecodeCommand(bytes.data(), bytes.size(), decoded);
        EXPECT_EQ(decoded.mHeader.mFlags, 0x77) << "written although refused";
        return error;
    };
    auto ack = [](const Bytes& bytes) {
        GvcpAck decoded{};
        return DecodeAck(bytes.data(), bytes.size(), decoded);
    };
    EXPECT_EQ(command({}), WireError::Truncated);
    EXPECT_EQ(command({0x42, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00}), WireError::Truncated);
    EXPECT_EQ(command({0x43, 0x01, 0x00, 0x80, 0x00, 0x04, 0x00, 0x01, 0x00, 0x00, 0x0A, 0x00}),
              WireError::NotACommand);
    // The length field announces more, or fewer, bytes than the datagram has.
    EXPECT_EQ(command({0x42, 0x01, 0x00, 0x80, 0x00, 0x08, 0x00, 0x01, 0x00, 0x00, 0x0A, 0x00}),
              WireError::LengthMismatch);
    EXPECT_EQ(command({0x42, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x0A, 0x00}),
              WireError::LengthMismatch);

    EXPECT_EQ(ack({0x00, 0x00, 0x00, 0x81}), WireError::Truncated);
    EXPECT_EQ(ack(ReadRegCommand), WireError::NotAnAck) << "a command looped back is no answer";
    EXPECT_EQ(ack({0x00, 0x00, 0x00, 0x81, 0x00, 0x08, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02}),
              WireError::LengthMismatch);
    EXPECT_EQ(ack({0x00, 0x00, 0x00, 0x81, 0x00, 0x04, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00}),
              WireError::LengthMismatch);
    EXPECT_STREQ(WireErrorText(WireError::LengthMismatch), "the length field disagrees with the datagram");
}

}
