#include "CameraLab.h"

#include "wire/Bootstrap.h"
#include "wire/GvcpStatus.h"
#include "wire/ImageLeader.h"
#include "wire/PacketResend.h"
#include "wire/RegisterAccess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>

using namespace CameraLab;
namespace Bootstrap = Gige::Bootstrap;
namespace Status = Gige::GvcpStatus;
using Gige::GvspFormat;

namespace {

Gige::GvspPacket Decoded(const Packet& packet)
{
    Gige::GvspPacket decoded;
    EXPECT_EQ(Gige::DecodeGvspPacket(packet.mBytes.data(), packet.mBytes.size(), decoded), Gige::WireError::None);
    return decoded;
}

// Checks a frame's packets as they arrived (leader, payload in order,
// trailer) and answers its bytes.
std::vector<std::uint8_t> CheckFrame(const std::vector<Packet>& packets, bool extended, std::uint32_t pixelFormat,
                                     std::size_t bytes, std::uint32_t bytesPerPacket)
{
    const std::size_t payloadPackets = (bytes + bytesPerPacket - 1) / bytesPerPacket;
    EXPECT_EQ(packets.size(), payloadPackets + 2);
    std::vector<std::uint8_t> image;
    if (packets.size() != payloadPackets + 2)
        return image;
    for (std::size_t id = 0; id < packets.size(); ++id) {
        const Gige::GvspHeader& header = packets[id].mHeader;
        EXPECT_EQ(header.mPacketId, id);
        EXPECT_EQ(header.mExtended, extended);
        EXPECT_EQ(header.mBlockId, packets[0].mHeader.mBlockId);
        EXPECT_EQ(header.mStatus, 0);
    }
    Gige::ImageLeader leader{};
    EXPECT_EQ(Gige::DecodeImageLeader(Decoded(packets.front()), leader), Gige::WireError::None);
    EXPECT_EQ(leader.mPayloadType, Gige::PayloadType::Image);
    EXPECT_EQ(leader.mPixelFormat, pixelFormat);
    EXPECT_EQ(leader.mSizeX, 64u);
    EXPECT_EQ(leader.mSizeY, 32u);
    EXPECT_EQ(leader.mOffsetX, 0u);
    EXPECT_NE(leader.mTimestamp, 0u);
    Gige::ImageTrailer trailer{};
    EXPECT_EQ(Gige::DecodeImageTrailer(Decoded(packets.back()), trailer), Gige::WireError::None);
    EXPECT_EQ(trailer.mSizeY, 32u);
    for (std::size_t id = 1; id <= payloadPackets; ++id) {
        EXPECT_EQ(packets[id].mHeader.mFormat, GvspFormat::Payload);
        EXPECT_EQ(packets[id].BodySize(), std::min<std::size_t>(bytesPerPacket, bytes - image.size()));
        image.insert(image.end(), packets[id].Body(), packets[id].Body() + packets[id].BodySize());
    }
    return image;
}

void ExpectPattern(const std::vector<std::uint8_t>& image, std::size_t rowBytes, std::uint32_t n)
{
    for (std::size_t i = 0; i < image.size(); ++i)
        ASSERT_EQ(image[i], PatternByte(i, static_cast<std::uint32_t>(rowBytes), n)) << "byte " << i << " of frame " << n;
}

void AskResend(StreamReceiver& receiver, const Gige::PacketResend& resend)
{
    Gige::GvcpBuffer command;
    const std::size_t size = Gige::EncodePacketResend(7, resend, command);
    ASSERT_NE(size, 0u);
    ASSERT_TRUE(receiver.Socket().SendTo({CameraAddress, Gige::GvcpPort}, command.data(), size));
}

}

TEST(Stream, FramesArriveAsLeaderPayloadAndTrailerWithThePattern)
{
    Cameras cameras;
    ControlClient host;
    StreamReceiver receiver;
    ASSERT_EQ(host.TakeControl(), 0);
    OpenStream(host, receiver, 576);
    TriggeredSmallImage(host);

    Trigger(host);
    const std::vector<Packet> first = receiver.Frame();
    ExpectPattern(CheckFrame(first, false, 0x01080001, 64 * 32, 540), 64, 1);
    Trigger(host);
    const std::vector<Packet> second = receiver.Frame();
    ExpectPattern(CheckFrame(second, false, 0x01080001, 64 * 32, 540), 64, 2);
    ASSERT_FALSE(first.empty() || second.empty());
    EXPECT_EQ(second[0].mHeader.mBlockId, first[0].mHeader.mBlockId + 1);

    // A request sent again with its id (the host missed the answer) is
    // answered again and done once.
    Gige::GvcpBuffer command;
    const Gige::RegisterWrite trigger{Kx1300Register("TriggerSoftwareReg"), 1};
    const std::size_t size = Gige::EncodeWriteRegCommand(host.NextId(), &trigger, 1, command);
    ASSERT_TRUE(host.Request(command, size));
    ASSERT_TRUE(host.Request(command, size));
    EXPECT_EQ(receiver.Frame().size(), 6u);
    EXPECT_FALSE(receiver.Next(300)) << "a second frame";

    // 64-bit block ids, and 12 bits a pixel.
    ASSERT_EQ(host.WriteRegister(Bootstrap::GvspConfig, Bootstrap::GvspConfigExtendedIds), 0);
    ASSERT_EQ(host.WriteRegister(Kx1300Register("PixelFormatReg"), 0x010C0006), 0);
    Trigger(host);
    ExpectPattern(CheckFrame(receiver.Frame(), true, 0x010C0006, 64 * 32 * 3 / 2, 528), 64 * 3 / 2, 4);
}

TEST(Stream, ResendRequestsAreAnsweredFromTheLastFramesAndUnavailableOnceGone)
{
    GigeCamera::Options options;
    options.mResendFrames = 2;
    Cameras cameras(options);
    ControlClient host;
    StreamReceiver receiver;
    ASSERT_EQ(host.TakeControl(), 0);
    OpenStream(host, receiver, 576);
    TriggeredSmallImage(host);
    std::vector<std::vector<Packet>> frames;
    for (int i = 0; i < 3; ++i) {
        Trigger(host);
        frames.push_back(receiver.Frame());
        ASSERT_EQ(frames.back().size(), 6u);
    }
    const auto block = [&](int frame) { return frames[frame][0].mHeader.mBlockId; };

    // From the stream socket, another port than the control channel's.
    AskResend(receiver, {false, 0, block(2), 2, 3});
    for (std::uint32_t id = 2; id <= 3; ++id) {
        const auto packet = receiver.Next();
        ASSERT_TRUE(packet);
        EXPECT_EQ(packet->mHeader.mStatus, Status::PacketResend);
        EXPECT_EQ(packet->mHeader.mPacketId, id);
        EXPECT_EQ(packet->mBytes.size(), frames[2][id].mBytes.size());
        EXPECT_TRUE(std::equal(packet->Body(), packet->Body() + packet->BodySize(), frames[2][id].Body()));
    }
    // Up to the trailer; past it, the range is out of the frame.
    AskResend(receiver, {false, 0, block(2), 5, 9});
    auto packet = receiver.Next();
    ASSERT_TRUE(packet);
    EXPECT_EQ(packet->mHeader.mFormat, GvspFormat::Trailer);
    EXPECT_EQ(packet->mHeader.mStatus, Status::PacketResend);
    packet = receiver.Next();
    ASSERT_TRUE(packet);
    EXPECT_EQ(packet->mHeader.mStatus, Status::PacketUnavailable);
    EXPECT_EQ(packet->mHeader.mPacketId, 6u);

    // The first frame has left the two kept.
    AskResend(receiver, {false, 0, block(0), 1, 1});
    packet = receiver.Next();
    ASSERT_TRUE(packet);
    EXPECT_EQ(packet->mHeader.mStatus, Status::PacketUnavailable);
    EXPECT_EQ(packet->mHeader.mBlockId, block(0));
    EXPECT_EQ(packet->mHeader.mPacketId, 1u);

    // With 64-bit ids the resent mark is a flag.
    ASSERT_EQ(host.WriteRegister(Bootstrap::GvspConfig, Bootstrap::GvspConfigExtendedIds), 0);
    Trigger(host);
    const std::vector<Packet> extended = receiver.Frame();
    ASSERT_EQ(extended.size(), 6u);
    AskResend(receiver, {true, 0, extended[0].mHeader.mBlockId, 0, 0});
    packet = receiver.Next();
    ASSERT_TRUE(packet);
    EXPECT_TRUE(packet->mHeader.mExtended);
    EXPECT_EQ(packet->mHeader.mFlags & Gige::GvspFlag::Resent, Gige::GvspFlag::Resent);
    EXPECT_EQ(packet->mBytes, [&] {
        auto bytes = extended[0].mBytes;
        bytes[3] |= Gige::GvspFlag::Resent;
        return bytes;
    }());
    EXPECT_FALSE(receiver.Next(300)) << "more than was asked for";
}

TEST(Stream, TheTestPacketHonoursDontFragment)
{
    Cameras cameras;
    ControlClient host;
    StreamReceiver receiver;
    ASSERT_EQ(host.TakeControl(), 0);
    OpenStream(host, receiver, 1500);
    // The link's MTU is 9000.
    const std::uint32_t fire = Bootstrap::ScpsFireTestPacket;
    const std::uint32_t dontFragment = Bootstrap::ScpsDoNotFragment;
    ASSERT_EQ(host.WriteRegister(Bootstrap::Scps(0), fire | dontFragment | 9100), 0);
    EXPECT_FALSE(receiver.Next(300)) << "larger than the MTU, not to be fragmented";
    ASSERT_EQ(host.WriteRegister(Bootstrap::Scps(0), fire | dontFragment | 8000), 0);
    auto packet = receiver.Next();
    ASSERT_TRUE(packet);
    EXPECT_EQ(packet->mBytes.size(), 8000u - 28);
    EXPECT_EQ(host.ReadRegister(Bootstrap::Scps(0)), dontFragment | 8000) << "the fire bit clears itself";
    ASSERT_EQ(host.WriteRegister(Bootstrap::Scps(0), fire | 9100), 0);
    packet = receiver.Next();
    ASSERT_TRUE(packet) << "fragmented, it arrives";
    EXPECT_EQ(packet->mBytes.size(), 9100u - 28);
}

TEST(Stream, ThePacketDelaySpacesThePackets)
{
    Cameras cameras;
    ControlClient host;
    StreamReceiver receiver;
    ASSERT_EQ(host.TakeControl(), 0);
    OpenStream(host, receiver, 576);
    TriggeredSmallImage(host);
    // 125000 ticks of 8 ns: 1 ms.
    ASSERT_EQ(host.WriteRegister(Bootstrap::Scpd(0), 125000), 0);
    Trigger(host);
    ASSERT_TRUE(receiver.Next());
    const auto start = std::chrono::steady_clock::now();
    const std::vector<Packet> rest = receiver.Frame();
    const auto span = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(rest.size(), 5u);
    EXPECT_GE(span, std::chrono::microseconds(4500)) << "five gaps of at least 1 ms";
}
