#include "Lab.h"

#include "os/UdpSocket.h"

#include <gtest/gtest.h>

using Os::WaitResult;

TEST(UdpSocket, BroadcastArrivesOnAWildcardSocketThatTellsTheAdapterAndAddressItCameBy)
{
    Os::UdpSocket listener = Lab::Bound(Os::Ipv4Address::Any());
    ASSERT_TRUE(listener.ReportArrival()) << listener.LastError();
    const Os::Endpoint broadcast{Os::Ipv4Address::Broadcast(), listener.LocalEndpoint().port};

    Os::UdpSocket sender = Lab::Bound(Os::Ipv4Address::Any());
    ASSERT_TRUE(sender.EnableBroadcast()) << sender.LastError();
    for (const std::string& adapter : {Lab::Right, Lab::Left}) {
        SCOPED_TRACE("out of " + adapter);
        const unsigned index = Lab::IndexOf(adapter);
        ASSERT_TRUE(sender.SetSendInterface(index)) << sender.LastError();
        ASSERT_TRUE(sender.SendTo(broadcast, adapter.data(), adapter.size())) << sender.LastError();
        Os::Endpoint source;
        Os::Arrival arrival;
        const std::vector<std::uint8_t> bytes = Lab::ReceiveOne(listener, 2000, &source, &arrival);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), adapter);
        EXPECT_EQ(arrival.interfaceIndex, index);
        EXPECT_EQ(arrival.destination, Os::Ipv4Address::Broadcast());
        EXPECT_EQ(source.address, adapter == Lab::Left ? Lab::LeftAddress : Lab::RightAddress)
            << "sent from the adapter's first address";
        EXPECT_EQ(source.port, sender.LocalEndpoint().port);
    }

    // A reply to one of the adapter's addresses tells which one it was.
    Os::UdpSocket replier = Lab::Bound(Lab::LeftAddress);
    ASSERT_TRUE(replier.SendTo({Lab::RightSecondAddress, broadcast.port}, "ack", 3)) << replier.LastError();
    Os::Arrival arrival;
    EXPECT_EQ(Lab::ReceiveOne(listener, 2000, nullptr, &arrival).size(), 3u);
    EXPECT_EQ(arrival.destination, Lab::RightSecondAddress);
}

TEST(UdpSocket, BoundToAnAdapterItHearsThatAdapterOnlyWhereTheSystemCan)
{
    Os::UdpSocket listener;
    ASSERT_TRUE(listener.Open());
    if (!Os::UdpSocket::CanBindToDevice()) {
        EXPECT_FALSE(listener.BindToDevice(Lab::Left));
        EXPECT_NE(listener.LastError().find("address"), std::string::npos) << listener.LastError();
        return;
    }
    EXPECT_FALSE(listener.BindToDevice("no-such-kx"));
    EXPECT_NE(listener.LastError().find("no-such-kx"), std::string::npos) << listener.LastError();
    ASSERT_TRUE(listener.BindToDevice(Lab::Left)) << listener.LastError();
    ASSERT_TRUE(listener.Bind({Os::Ipv4Address::Any(), 0})) << listener.LastError();
    const Os::Endpoint broadcast{Os::Ipv4Address::Broadcast(), listener.LocalEndpoint().port};

    Os::UdpSocket sender = Lab::Bound(Os::Ipv4Address::Any());
    ASSERT_TRUE(sender.EnableBroadcast());
    ASSERT_TRUE(sender.SetSendInterface(Lab::IndexOf(Lab::Right)));
    ASSERT_TRUE(sender.SendTo(broadcast, "right", 5));
    ASSERT_TRUE(sender.SetSendInterface(Lab::IndexOf(Lab::Left)));
    ASSERT_TRUE(sender.SendTo(broadcast, "left", 4));
    const std::vector<std::uint8_t> bytes = Lab::ReceiveOne(listener, 2000);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "left");
    EXPECT_TRUE(Lab::ReceiveOne(listener, 100).empty());
}
