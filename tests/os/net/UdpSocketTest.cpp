#include "Lab.h"

#include "os/System.h"
#include "os/Thread.h"
#include "os/UdpSocket.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

using Os::WaitResult;

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

}

TEST(UdpSocket, CarriesDatagramsBothWaysAndTellsTheirSource)
{
    Os::UdpSocket left = Lab::Bound(Lab::LeftAddress);
    Os::UdpSocket right = Lab::Bound(Lab::RightAddress);
    const Os::Endpoint leftEnd = left.LocalEndpoint();
    const Os::Endpoint rightEnd = right.LocalEndpoint();
    EXPECT_EQ(leftEnd.address, Lab::LeftAddress);
    EXPECT_NE(leftEnd.port, 0) << "the port the system chose";

    EXPECT_EQ(right.ReceiveMany(nullptr, 0), 0);
    const long long start = Os::MonotonicMilliseconds();
    EXPECT_EQ(right.WaitReadable(100), WaitResult::TimedOut);
    EXPECT_GE(Os::MonotonicMilliseconds() - start, 90);

    ASSERT_TRUE(left.SendTo(rightEnd, "ping", 4)) << left.LastError();
    Os::Endpoint source;
    EXPECT_EQ(Lab::ReceiveOne(right, 2000, &source), Bytes("ping"));
    EXPECT_EQ(source, leftEnd);

    ASSERT_TRUE(right.SendTo(source, "pong!", 5)) << right.LastError();
    EXPECT_EQ(Lab::ReceiveOne(left, 2000, &source), Bytes("pong!"));
    EXPECT_EQ(source, rightEnd);

    ASSERT_TRUE(left.SendTo(rightEnd, "", 0)) << "an empty datagram: " << left.LastError();
    EXPECT_TRUE(Lab::ReceiveOne(right, 2000, &source).empty());
    EXPECT_EQ(source, leftEnd);
}

TEST(UdpSocket, FailuresSayWhatAndWhy)
{
    Os::UdpSocket closed;
    EXPECT_FALSE(closed.SendTo({Lab::RightAddress, 9}, "x", 1));
    EXPECT_NE(closed.LastError().find("not open"), std::string::npos) << closed.LastError();
    Os::DatagramSlot slot;
    EXPECT_EQ(closed.ReceiveMany(&slot, 1), -1);
    EXPECT_EQ(closed.WaitReadable(0), WaitResult::Failed);
    closed.Wake();

    Os::UdpSocket socket;
    ASSERT_TRUE(socket.Open()) << socket.LastError();
    // Wine 8 binds a UDP socket to 0.0.0.0 when no adapter has the address.
    if (!Os::RunsUnderWine()) {
        EXPECT_FALSE(socket.Bind({Os::Ipv4Address(169, 254, 99, 99), 0})) << "no adapter has the address";
        EXPECT_NE(socket.LastError().find("169.254.99.99"), std::string::npos) << socket.LastError();
    }

    Os::UdpSocket first = Lab::Bound(Lab::LeftAddress);
    ASSERT_TRUE(socket.Open());
    EXPECT_FALSE(socket.Bind(first.LocalEndpoint())) << "the port is taken";
    EXPECT_NE(socket.LastError().find(first.LocalEndpoint().ToString()), std::string::npos) << socket.LastError();

    const std::vector<char> tooLong(70000, 'x');
    EXPECT_FALSE(first.SendTo({Lab::RightAddress, 9}, tooLong.data(), tooLong.size()));
    EXPECT_NE(first.LastError().find("169.254.20.1:9"), std::string::npos) << first.LastError();

    EXPECT_FALSE(first.SendTo({Os::Ipv4Address::Broadcast(), 9}, "x", 1)) << "broadcast not enabled";

    slot.spanCount = Os::MaxDatagramSpans + 1;
    EXPECT_EQ(first.ReceiveMany(&slot, 1), -1);
    EXPECT_NE(first.LastError().find("buffers"), std::string::npos) << first.LastError();
    slot.spanCount = 1;
    slot.spans[0] = {nullptr, 100};
    EXPECT_EQ(first.ReceiveMany(&slot, 1), -1);
}

TEST(UdpSocket, ReceivesManyDatagramsInOneCallIntoTheirHeaderPayloadAndOverflowBuffers)
{
    Os::UdpSocket sender = Lab::Bound(Lab::LeftAddress);
    Os::UdpSocket receiver = Lab::Bound(Lab::RightAddress);
    constexpr std::size_t Count = 10;
    constexpr std::size_t HeaderSize = 8;
    constexpr std::size_t PayloadSize = 1000;
    constexpr std::size_t OverflowSize = 1024;
    // Datagrams 0-7 fit header and payload; 8 and 9 run 500 bytes over.
    const auto payloadLength = [](std::size_t k) { return k < 8 ? PayloadSize : PayloadSize + 500; };
    for (std::size_t k = 0; k < Count; ++k) {
        std::uint8_t header[HeaderSize] = {0x42, static_cast<std::uint8_t>(k)};
        std::vector<std::uint8_t> payload(payloadLength(k));
        for (std::size_t i = 0; i < payload.size(); ++i) {
            payload[i] = static_cast<std::uint8_t>(k * 31 + i);
        }
        const Os::ConstBufferSpan spans[] = {{header, sizeof header}, {payload.data(), payload.size()}};
        ASSERT_TRUE(sender.SendTo(receiver.LocalEndpoint(), spans, 2)) << sender.LastError();
    }

    std::vector<std::uint8_t> headers(Count * HeaderSize);
    std::vector<std::uint8_t> image(Count * PayloadSize);
    std::vector<std::uint8_t> overflow(Count * OverflowSize);
    Os::DatagramSlot slots[Count];
    for (std::size_t k = 0; k < Count; ++k) {
        slots[k].spans[0] = {&headers[k * HeaderSize], HeaderSize};
        slots[k].spans[1] = {&image[k * PayloadSize], PayloadSize};
        slots[k].spans[2] = {&overflow[k * OverflowSize], OverflowSize};
        slots[k].spanCount = 3;
    }
    ASSERT_EQ(receiver.WaitReadable(2000), WaitResult::Ready);
    // Under Wine the datagrams cross the link (see cmake/netns-run.sh): all
    // of them are in after a moment.
    Os::SleepMs(100);
    ASSERT_EQ(receiver.ReceiveMany(slots, 3), 3) << receiver.LastError();
    EXPECT_EQ(receiver.WaitReadable(0), WaitResult::Ready) << "datagrams still wait after a partial take";
    ASSERT_EQ(receiver.ReceiveMany(slots + 3, Count - 3), static_cast<int>(Count - 3)) << receiver.LastError();
    EXPECT_EQ(receiver.ReceiveMany(slots, Count), 0);

    for (std::size_t k = 0; k < Count; ++k) {
        SCOPED_TRACE("datagram " + std::to_string(k));
        EXPECT_EQ(slots[k].size, HeaderSize + payloadLength(k));
        EXPECT_FALSE(slots[k].truncated);
        EXPECT_EQ(slots[k].source, sender.LocalEndpoint());
        EXPECT_EQ(headers[k * HeaderSize], 0x42);
        EXPECT_EQ(headers[k * HeaderSize + 1], k);
        for (std::size_t i = 0; i < payloadLength(k); ++i) {
            const std::uint8_t landed = i < PayloadSize ? image[k * PayloadSize + i]
                                                        : overflow[k * OverflowSize + i - PayloadSize];
            ASSERT_EQ(landed, static_cast<std::uint8_t>(k * 31 + i)) << "payload byte " << i;
        }
    }

    const std::vector<std::uint8_t> tooLong(HeaderSize + PayloadSize + OverflowSize + 100, 7);
    ASSERT_TRUE(sender.SendTo(receiver.LocalEndpoint(), tooLong.data(), tooLong.size()));
    ASSERT_EQ(receiver.WaitReadable(2000), WaitResult::Ready);
    ASSERT_EQ(receiver.ReceiveMany(slots, 1), 1) << receiver.LastError();
    EXPECT_TRUE(slots[0].truncated);
#if defined(_WIN32)
    EXPECT_EQ(slots[0].size, HeaderSize + PayloadSize + OverflowSize) << "Windows tells only what fitted";
#else
    EXPECT_EQ(slots[0].size, tooLong.size());
#endif
    EXPECT_EQ(overflow[OverflowSize - 1], 7);
}

TEST(UdpSocket, GrantsTheReceiveBufferItReportsAndItHoldsABurstThatSize)
{
    Os::UdpSocket receiver = Lab::Bound(Lab::RightAddress);
    constexpr std::size_t Small = 1u << 20;
    EXPECT_EQ(receiver.SetReceiveBufferSize(Small), Small) << receiver.LastError();
    EXPECT_EQ(receiver.ReceiveBufferSize(), Small);

    // Nothing is read while the burst comes: the buffer alone must hold it.
    Os::UdpSocket sender = Lab::Bound(Lab::LeftAddress);
    const std::vector<std::uint8_t> datagram(1400, 0x5A);
    const std::size_t burst = Small * 3 / 4 / datagram.size();
    for (std::size_t i = 0; i < burst; ++i) {
        ASSERT_TRUE(sender.SendTo(receiver.LocalEndpoint(), datagram.data(), datagram.size())) << sender.LastError();
    }
    std::vector<std::uint8_t> scratch(Os::MaxDatagramsPerReceive * datagram.size());
    Os::DatagramSlot slots[Os::MaxDatagramsPerReceive];
    for (std::size_t k = 0; k < Os::MaxDatagramsPerReceive; ++k) {
        slots[k].spans[0] = {&scratch[k * datagram.size()], datagram.size()};
        slots[k].spanCount = 1;
    }
    std::size_t received = 0;
    while (receiver.WaitReadable(200) == WaitResult::Ready) {
        const int taken = receiver.ReceiveMany(slots, Os::MaxDatagramsPerReceive);
        ASSERT_GE(taken, 0) << receiver.LastError();
        received += static_cast<std::size_t>(taken);
    }
    EXPECT_EQ(received, burst);

    // Beyond net.core.rmem_max only a process with CAP_NET_ADMIN gets it
    // on Linux. Windows grants it; Wine reports it granted whatever Linux gave.
    constexpr std::size_t Large = 64u << 20;
    const std::size_t granted = receiver.SetReceiveBufferSize(Large);
#if defined(_WIN32)
    EXPECT_EQ(granted, Large);
#else
    std::size_t systemLimit = 0;
    std::ifstream("/proc/sys/net/core/rmem_max") >> systemLimit;
    ASSERT_GT(systemLimit, 0u);
    if (Lab::Unprivileged()) {
        EXPECT_EQ(granted, std::min(Large, systemLimit));
    } else {
        EXPECT_TRUE(granted == Large || granted == std::min(Large, systemLimit)) << granted;
    }
#endif
    EXPECT_EQ(receiver.ReceiveBufferSize(), granted);
}

TEST(UdpSocket, WakeEndsAWaitFromAnotherThreadAndWinsOverWaitingData)
{
    Os::UdpSocket socket = Lab::Bound(Lab::RightAddress);
    WaitResult result = WaitResult::Failed;
    Os::Thread waiter([&] { result = socket.WaitReadable(Os::Infinite); });
    Os::SleepMs(50);
    socket.Wake();
    ASSERT_TRUE(waiter.Join(5000)) << "the wait did not end";
    EXPECT_EQ(result, WaitResult::Woken);

    socket.Wake();
    socket.Wake();
    EXPECT_EQ(socket.WaitReadable(0), WaitResult::Woken);
    EXPECT_EQ(socket.WaitReadable(50), WaitResult::TimedOut) << "wakes before a wait count once";

    Os::UdpSocket sender = Lab::Bound(Lab::LeftAddress);
    ASSERT_TRUE(sender.SendTo(socket.LocalEndpoint(), "data", 4));
    ASSERT_EQ(socket.WaitReadable(2000), WaitResult::Ready);
    socket.Wake();
    EXPECT_EQ(socket.WaitReadable(2000), WaitResult::Woken);
    EXPECT_EQ(socket.WaitReadable(2000), WaitResult::Ready);
}

TEST(UdpSocket, DontFragmentRefusesADatagramLargerThanTheLinkInsteadOfFragmentingIt)
{
    // Tied to its adapter, the sender's datagrams cross the link (MTU 9000).
    Os::UdpSocket sender;
    ASSERT_TRUE(sender.Open());
    if (Os::UdpSocket::CanBindToDevice()) {
        ASSERT_TRUE(sender.BindToDevice(Lab::Left)) << sender.LastError();
    }
    ASSERT_TRUE(sender.Bind({Lab::LeftAddress, 0})) << sender.LastError();
    Os::UdpSocket receiver = Lab::Bound(Lab::RightAddress);
    const std::vector<std::uint8_t> large(9100 - 28, 0x5A);
    const std::vector<std::uint8_t> fits(9000 - 28, 0xA5);

    ASSERT_TRUE(sender.SetDontFragment(true)) << sender.LastError();
    EXPECT_FALSE(sender.SendTo(receiver.LocalEndpoint(), large.data(), large.size()));
    EXPECT_NE(sender.LastError().find(receiver.LocalEndpoint().ToString()), std::string::npos) << sender.LastError();
    ASSERT_TRUE(sender.SendTo(receiver.LocalEndpoint(), fits.data(), fits.size())) << sender.LastError();
    EXPECT_EQ(Lab::ReceiveOne(receiver, 2000), fits);

    ASSERT_TRUE(sender.SetDontFragment(false)) << sender.LastError();
    ASSERT_TRUE(sender.SendTo(receiver.LocalEndpoint(), large.data(), large.size())) << sender.LastError();
    EXPECT_EQ(Lab::ReceiveOne(receiver, 2000), large) << "in fragments";
}

TEST(UdpSocket, APortSharedWithAWildcardSocketTakesWhatIsSentToItsAddress)
{
    Os::UdpSocket wildcard;
    ASSERT_TRUE(wildcard.Open() && wildcard.SharePort() && wildcard.Bind({Os::Ipv4Address::Any(), 0}))
        << wildcard.LastError();
    const std::uint16_t port = wildcard.LocalEndpoint().port;
    Os::UdpSocket unshared;
    ASSERT_TRUE(unshared.Open());
    EXPECT_FALSE(unshared.Bind({Lab::RightAddress, port})) << "the port is taken";
    Os::UdpSocket single;
    ASSERT_TRUE(single.Open() && single.SharePort() && single.Bind({Lab::RightAddress, port})) << single.LastError();

    Os::UdpSocket sender = Lab::Bound(Lab::LeftAddress);
    ASSERT_TRUE(sender.SendTo({Lab::RightAddress, port}, "single", 6));
    EXPECT_EQ(Lab::ReceiveOne(single, 2000), Bytes("single"));
    ASSERT_TRUE(sender.SendTo({Lab::RightSecondAddress, port}, "wildcard", 8));
    // Wine binds a socket bound to an adapter's address to the whole
    // adapter: the other address of that adapter reaches it too.
    Os::UdpSocket& other = Os::RunsUnderWine() ? single : wildcard;
    EXPECT_EQ(Lab::ReceiveOne(other, 2000), Bytes("wildcard"));
    EXPECT_EQ(wildcard.WaitReadable(0), WaitResult::TimedOut) << "nothing meant for the single socket";
}
