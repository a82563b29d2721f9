// Stream packets: standard and extended headers, the image leader and
// trailer against packets written out by hand, and packets a receiver must
// refuse without reading past them.
#include "WireBytes.h"

#include "wire/GvcpStatus.h"
#include "wire/GvspHeader.h"
#include "wire/ImageLeader.h"

#include <gtest/gtest.h>

#include <array>

using namespace Gige;
using namespace WireTest;

namespace {

// Block 0x1234's leader: Mono8 512 x 480 at (16, 8), 2 bytes after each line.
const Bytes Leader = {0x00, 0x00, 0x12, 0x34, 0x01, 0x00, 0x00, 0x00,   // status, block, leader, packet 0
                      0x00, 0x00, 0x00, 0x01,                           // reserved, image
                      0x00, 0x00, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05,   // timestamp
                      0x01, 0x08, 0x00, 0x01,                           // Mono8
                      0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0xE0,   // 512 x 480
                      0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x08,   // offset (16, 8)
                      0x00, 0x02, 0x00, 0x00};                          // padding
// Its payload packet 5, sent again on request; its trailer after 181 payload
// packets of 1364 bytes.
const Bytes ResentPayload = {0x01, 0x00, 0x12, 0x34, 0x03, 0x00, 0x00, 0x05, 0xAA, 0xBB};
const Bytes Trailer = {0x00, 0x00, 0x12, 0x34, 0x02, 0x00, 0x00, 0xB6, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0xE0};
// Extended IDs: payload packet 0x10000 of block 0x0000000100000002, resent.
const Bytes ExtendedPayload = {0x00, 0x00, 0x00, 0x01, 0x83, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                               0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00, 0xAA};

GvspPacket PacketOf(const Bytes& bytes)
{
    GvspPacket packet{};
    EXPECT_EQ(DecodeGvspPacket(bytes.data(), bytes.size(), packet), WireError::None);
    return packet;
}

Bytes Header(const GvspHeader& header)
{
    std::array<std::uint8_t, GvspExtendedHeaderSize> out{};
    return Bytes(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(EncodeGvspHeader(header, out.data(), out.size())));
}

TEST(GvspTest, StandardAndExtendedHeadersBothWays)
{
    const GvspPacket payload = PacketOf(ResentPayload);
    EXPECT_EQ(payload.mHeader.mStatus, GvcpStatus::PacketResend);
    EXPECT_FALSE(payload.mHeader.mExtended);
    EXPECT_EQ(payload.mHeader.mFormat, GvspFormat::Payload);
    EXPECT_EQ(payload.mHeader.mBlockId, 0x1234u);
    EXPECT_EQ(payload.mHeader.mPacketId, 5u);
    EXPECT_EQ(payload.mBody, ResentPayload.data() + 8);
    EXPECT_EQ(payload.mBodySize, 2u);
    EXPECT_TRUE(IsResent(payload.mHeader));
    EXPECT_EQ(Header(payload.mHeader), Bytes(ResentPayload.begin(), ResentPayload.begin() + 8));

    const GvspPacket extended = PacketOf(ExtendedPayload);
    EXPECT_TRUE(extended.mHeader.mExtended);
    EXPECT_EQ(extended.mHeader.mFlags, GvspFlag::Resent);
    EXPECT_EQ(extended.mHeader.mFormat, GvspFormat::Payload);
    EXPECT_EQ(extended.mHeader.mBlockId, 0x0000000100000002u);
    EXPECT_EQ(extended.mHeader.mPacketId, 0x10000u);
    EXPECT_EQ(extended.mBody, ExtendedPayload.data() + 20);
    EXPECT_EQ(extended.mBodySize, 1u);
    EXPECT_TRUE(IsResent(extended.mHeader));
    EXPECT_EQ(Header(extended.mHeader), Bytes(ExtendedPayload.begin(), ExtendedPayload.begin() + 20));

    EXPECT_FALSE(IsResent(PacketOf(Leader).mHeader));
}

TEST(GvspTest, ShortPacketsAndIdsAStandardHeaderCannotHoldAreRefused)
{
    GvspPacket packet{};
    EXPECT_EQ(DecodeGvspPacket(nullptr, 0, packet), WireError::Truncated);
    EXPECT_EQ(DecodeGvspPacket(ResentPayload.data(), 7, packet), WireError::Truncated);
    EXPECT_EQ(DecodeGvspPacket(ExtendedPayload.data(), 19, packet), WireError::Truncated)
        << "the extended-ID bit asks for a 20-byte header";
    ASSERT_EQ(DecodeGvspPacket(ExtendedPayload.data(), 20, packet), WireError::None);
    EXPECT_EQ(packet.mBodySize, 0u);

    std::array<std::uint8_t, GvspExtendedHeaderSize> out{};
    EXPECT_EQ(EncodeGvspHeader({0, false, 0, GvspFormat::Payload, 0x10000, 1}, out.data(), out.size()), 0u);
    EXPECT_EQ(EncodeGvspHeader({0, false, 0, GvspFormat::Payload, 1, 0x1000000}, out.data(), out.size()), 0u);
    EXPECT_EQ(EncodeGvspHeader({0, false, GvspFlag::Resent, GvspFormat::Payload, 1, 1}, out.data(), out.size()), 0u);
    EXPECT_EQ(EncodeGvspHeader({0, true, 0, GvspFormat::Payload, 1, 1}, out.data(), 19), 0u);
    EXPECT_EQ(EncodeGvspHeader({0, false, 0, GvspFormat::Payload, 1, 1}, out.data(), 7), 0u);
}

TEST(GvspTest, ImageLeaderAndTrailerBothWays)
{
    ImageLeader leader{};
    ASSERT_EQ(DecodeImageLeader(PacketOf(Leader), leader), WireError::None);
    EXPECT_EQ(leader.mPayloadType, PayloadType::Image);
    EXPECT_EQ(leader.mTimestamp, 0x0000000102030405u);
    EXPECT_EQ(leader.mPixelFormat, 0x01080001u);
    EXPECT_EQ(leader.mSizeX, 512u);
    EXPECT_EQ(leader.mSizeY, 480u);
    EXPECT_EQ(leader.mOffsetX, 16u);
    EXPECT_EQ(leader.mOffsetY, 8u);
    EXPECT_EQ(leader.mPaddingX, 2);
    EXPECT_EQ(leader.mPaddingY, 0);
    std::array<std::uint8_t, ImageLeaderSize> body{};
    ASSERT_EQ(EncodeImageLeader(leader, body.data(), body.size()), ImageLeaderSize);
    EXPECT_EQ(Bytes(body.begin(), body.end()), Bytes(Leader.begin() + 8, Leader.end()));

    ImageTrailer trailer{};
    const GvspPacket last = PacketOf(Trailer);
    EXPECT_EQ(last.mHeader.mPacketId, 182u);
    ASSERT_EQ(DecodeImageTrailer(last, trailer), WireError::None);
    EXPECT_EQ(trailer.mPayloadType, PayloadType::Image);
    EXPECT_EQ(trailer.mSizeY, 480u);
    ASSERT_EQ(EncodeImageTrailer(trailer, body.data(), body.size()), ImageTrailerSize);
    EXPECT_EQ(Bytes(body.begin(), body.begin() + 8), Bytes(Trailer.begin() + 8, Trailer.end()));
    EXPECT_EQ(EncodeImageLeader(leader, body.data(), ImageLeaderSize - 1), 0u);
    EXPECT_EQ(EncodeImageTrailer(trailer, body.data(), ImageTrailerSize - 1), 0u);
}

TEST(GvspTest, LeadersAndTrailersThatAreNotWholeImagesAreRefused)
{
    ImageLeader leader{};
    ImageTrailer trailer{};
    EXPECT_EQ(DecodeImageLeader(PacketOf(Trailer), leader), WireError::UnexpectedMessage);
    EXPECT_EQ(DecodeImageTrailer(PacketOf(Leader), trailer), WireError::UnexpectedMessage);
    EXPECT_EQ(DecodeImageTrailer(PacketOf(ResentPayload), trailer), WireError::UnexpectedMessage);

    const Bytes cut(Leader.begin(), Leader.end() - 1);
    EXPECT_EQ(DecodeImageLeader(PacketOf(cut), leader), WireError::Truncated);
    const Bytes cutTrailer(Trailer.begin(), Trailer.end() - 1);
    EXPECT_EQ(DecodeImageTrailer(PacketOf(cutTrailer), trailer), WireError::Truncated);

    Bytes file = Leader;
    file[11] = 0x03;
    EXPECT_EQ(DecodeImageLeader(PacketOf(file), leader), WireError::NotAnImage);
    Bytes withChunks = Leader;
    withChunks[10] = 0x40;
    ASSERT_EQ(DecodeImageLeader(PacketOf(withChunks), leader), WireError::None);
    EXPECT_EQ(leader.mPayloadType, PayloadType::Image | PayloadType::ChunksAppended);
}

}
