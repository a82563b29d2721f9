#include "Lab.h"

#include "os/PacketRing.h"
#include "os/Thread.h"
#include "os/UdpSocket.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Os::WaitResult;

namespace {

constexpr std::uint16_t StreamPort = 50010;

// The ring listens on the left adapter; broadcasts sent out of the right one
// cross the link and arrive there.
Os::PacketRingOptions LeftRing(std::size_t blockSize, std::size_t blockCount)
{
    Os::PacketRingOptions options;
    options.interfaceName = Lab::Left;
    options.source = Lab::RightAddress;
    options.destinationPort = StreamPort;
    options.blockSize = blockSize;
    options.blockCount = blockCount;
    options.blockTimeoutMs = 2;
    return options;
}

Os::UdpSocket BroadcasterOnTheRight(Os::Ipv4Address address)
{
    Os::UdpSocket sender = Lab::Bound(address);
    EXPECT_TRUE(sender.EnableBroadcast()) << sender.LastError();
    EXPECT_TRUE(sender.SetSendInterface(Lab::IndexOf(Lab::Right))) << sender.LastError();
    return sender;
}

void Send(Os::UdpSocket& sender, std::uint16_t port, const std::string& text)
{
    ASSERT_TRUE(sender.SendTo({Os::Ipv4Address::Broadcast(), port}, text.data(), text.size())) << sender.LastError();
}

struct Seen {
    std::string text;
    Os::Endpoint source;
};

// Everything the ring hands over until it stays quiet for quietMs.
std::vector<Seen> Drain(Os::PacketRing& ring, std::uint32_t quietMs)
{
    std::vector<Seen> seen;
    while (ring.WaitBlock(quietMs) == WaitResult::Ready) {
        Os::RingPacket packet;
        while (ring.NextPacket(packet)) {
            EXPECT_FALSE(packet.truncated);
            seen.push_back({std::string(reinterpret_cast<const char*>(packet.payload), packet.size), packet.source});
        }
        ring.ReleaseBlock();
    }
    return seen;
}

bool RingExpected()
{
    return Os::PacketRing::IsAvailable() && !Lab::Unprivileged();
}

}

TEST(PacketRing, HoldsOnlyTheDatagramsOfItsSourceAndPort)
{
    if (!RingExpected()) {
        GTEST_SKIP() << "no packet ring here, or no CAP_NET_RAW";
    }
    Os::PacketRing ring;
    ASSERT_TRUE(ring.Open(LeftRing(1u << 16, 4))) << ring.LastError();
    Os::UdpSocket camera = BroadcasterOnTheRight(Lab::RightAddress);
    Os::UdpSocket other = BroadcasterOnTheRight(Lab::RightSecondAddress);
    for (int k = 0; k < 5; ++k) {
        Send(camera, StreamPort, "packet " + std::to_string(k));
        Send(camera, StreamPort + 1, "another port");
        Send(other, StreamPort, "another source");
    }

    const std::vector<Seen> seen = Drain(ring, 200);
    ASSERT_EQ(seen.size(), 5u);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(seen[k].text, "packet " + std::to_string(k));
        EXPECT_EQ(seen[k].source, camera.LocalEndpoint());
    }
    const Os::RingStatistics statistics = ring.Statistics();
    EXPECT_EQ(statistics.packets, 5u);
    EXPECT_EQ(statistics.drops, 0u);

    EXPECT_EQ(ring.WaitBlock(20), WaitResult::TimedOut);
    WaitResult result = WaitResult::Failed;
    Os::Thread waiter([&] { result = ring.WaitBlock(Os::Infinite); });
    Os::SleepMs(50);
    ring.Wake();
    ASSERT_TRUE(waiter.Join(5000));
    EXPECT_EQ(result, WaitResult::Woken);
}

TEST(PacketRing, CountsTheDatagramsTheKernelDropsWhileEveryBlockIsFull)
{
    if (!RingExpected()) {
        GTEST_SKIP() << "no packet ring here, or no CAP_NET_RAW";
    }
    Os::PacketRing ring;
    ASSERT_TRUE(ring.Open(LeftRing(4096, 2))) << ring.LastError();
    Os::UdpSocket camera = BroadcasterOnTheRight(Lab::RightAddress);
    const std::string payload(1000, 'p');
    constexpr std::uint64_t Sent = 50;
    for (std::uint64_t k = 0; k < Sent; ++k) {
        Send(camera, StreamPort, payload);
    }
    const std::vector<Seen> seen = Drain(ring, 200);
    const Os::RingStatistics statistics = ring.Statistics();
    EXPECT_GT(seen.size(), 0u);
    EXPECT_EQ(statistics.packets, Sent);
    EXPECT_EQ(statistics.drops, Sent - seen.size()) << "every datagram is either read or counted as dropped";
}

TEST(PacketRing, RefusesWhatItCannotOpenWithTheReason)
{
    Os::PacketRing ring;
    if (!Os::PacketRing::IsAvailable()) {
        EXPECT_FALSE(ring.Open(LeftRing(1u << 16, 4)));
        EXPECT_NE(ring.LastError().find("UDP socket"), std::string::npos) << ring.LastError();
        EXPECT_EQ(ring.WaitBlock(0), WaitResult::Failed);
        return;
    }
    EXPECT_FALSE(ring.Open(LeftRing(1000, 4)));
    EXPECT_NE(ring.LastError().find("page size"), std::string::npos) << ring.LastError();
    Os::PacketRingOptions options = LeftRing(1u << 16, 4);
    options.interfaceName = "no-such-kx";
    EXPECT_FALSE(ring.Open(options));
    EXPECT_NE(ring.LastError().find("no such adapter"), std::string::npos) << ring.LastError();

    if (!Lab::Unprivileged()) {
        return;
    }
    // Without CAP_NET_RAW: a clean refusal, and the UDP socket still serves.
    EXPECT_FALSE(ring.Open(LeftRing(1u << 16, 4)));
    EXPECT_FALSE(ring.IsOpen());
    EXPECT_NE(ring.LastError().find("CAP_NET_RAW"), std::string::npos) << ring.LastError();
    EXPECT_EQ(ring.WaitBlock(0), WaitResult::Failed);
    Os::UdpSocket receiver = Lab::Bound(Lab::LeftAddress, StreamPort);
    Os::UdpSocket camera = Lab::Bound(Lab::RightAddress);
    ASSERT_TRUE(camera.SendTo(receiver.LocalEndpoint(), "by socket", 9));
    EXPECT_EQ(Lab::ReceiveOne(receiver, 2000).size(), 9u);
}
