// The packet ring's reading of a datagram from the bytes the kernel holds:
// whatever those bytes are, nothing is read outside them.
#if !defined(_WIN32)

#include "os/posix/UdpPacketParse.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// 169.254.20.1:4000 -> port 50010 with the payload, as IPv4 + UDP.
std::vector<std::uint8_t> Packet(const std::vector<std::uint8_t>& payload)
{
    const std::size_t udpSize = 8 + payload.size();
    const std::size_t totalSize = 20 + udpSize;
    std::vector<std::uint8_t> packet = {
        0x45, 0, static_cast<std::uint8_t>(totalSize >> 8), static_cast<std::uint8_t>(totalSize), 0, 0, 0x40, 0,
        64, 17, 0, 0, 169, 254, 20, 1, 169, 254, 10, 1,
        0x0F, 0xA0, 0xC3, 0x5A, static_cast<std::uint8_t>(udpSize >> 8), static_cast<std::uint8_t>(udpSize), 0, 0};
    packet.insert(packet.end(), payload.begin(), payload.end());
    return packet;
}

}

TEST(UdpPacketParse, ReadsTheDatagramAndRefusesWhatIsNoWellFormedOneWithinItsBytes)
{
    const std::vector<std::uint8_t> payload = {1, 2, 3, 4, 5};
    std::vector<std::uint8_t> packet = Packet(payload);
    Os::RingPacket result;
    ASSERT_TRUE(Os::ParseUdpPacket(packet.data(), packet.size(), packet.size(), result));
    EXPECT_EQ(result.payload, packet.data() + 28);
    EXPECT_EQ(result.size, payload.size());
    EXPECT_FALSE(result.truncated);
    EXPECT_EQ(result.source, (Os::Endpoint{Os::Ipv4Address(169, 254, 20, 1), 4000}));

    // Cut by the ring: what it holds, marked.
    ASSERT_TRUE(Os::ParseUdpPacket(packet.data(), packet.size() - 2, packet.size(), result));
    EXPECT_EQ(result.size, payload.size() - 2);
    EXPECT_TRUE(result.truncated);

    // The first fragment of a larger datagram: its part, marked; any other
    // datagram whose UDP length runs past it is refused below.
    std::vector<std::uint8_t> first = packet;
    first[6] = 0x20;
    first[25] = static_cast<std::uint8_t>(first[25] + 100);
    ASSERT_TRUE(Os::ParseUdpPacket(first.data(), first.size(), first.size(), result));
    EXPECT_EQ(result.size, payload.size());
    EXPECT_TRUE(result.truncated);

    // Link padding behind the datagram is no payload.
    std::vector<std::uint8_t> padded = packet;
    padded.resize(60, 0);
    ASSERT_TRUE(Os::ParseUdpPacket(padded.data(), padded.size(), padded.size(), result));
    EXPECT_EQ(result.size, payload.size());

    EXPECT_FALSE(Os::ParseUdpPacket(nullptr, 0, 0, result));
    EXPECT_FALSE(Os::ParseUdpPacket(packet.data(), 27, packet.size(), result)) << "no whole UDP header";
    EXPECT_FALSE(Os::ParseUdpPacket(packet.data(), packet.size(), packet.size() - 1, result)) << "more than the wire";
    std::vector<std::uint8_t> bad = packet;
    bad[0] = 0x4F;  // a 60-byte header in a 33-byte packet
    EXPECT_FALSE(Os::ParseUdpPacket(bad.data(), bad.size(), bad.size(), result));
    bad = packet;
    bad[0] = 0x44;  // a header shorter than 20 bytes
    EXPECT_FALSE(Os::ParseUdpPacket(bad.data(), bad.size(), bad.size(), result));
    bad = packet;
    bad[25] = static_cast<std::uint8_t>(bad[25] + 1);  // UDP longer than the IP datagram
    EXPECT_FALSE(Os::ParseUdpPacket(bad.data(), bad.size(), bad.size(), result));
    bad = packet;
    bad[24] = 0;
    bad[25] = 7;  // UDP shorter than its header
    EXPECT_FALSE(Os::ParseUdpPacket(bad.data(), bad.size(), bad.size(), result));
    bad = packet;
    bad[3] = static_cast<std::uint8_t>(bad[3] + 4);  // IP longer than the wire
    EXPECT_FALSE(Os::ParseUdpPacket(bad.data(), bad.size(), bad.size(), result));
    bad = packet;
    bad[9] = 6;  // TCP
    EXPECT_FALSE(Os::ParseUdpPacket(bad.data(), bad.size(), bad.size(), result));
}

#endif
