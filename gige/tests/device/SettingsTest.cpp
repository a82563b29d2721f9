// The producer's options and the interfaces it offers.
#include "common/Settings.h"
#include "discovery/HostInterfaces.h"

#include <gtest/gtest.h>

using namespace Gige;

TEST(Settings, NumbersOutsideTheirRangeAndListsWithBlanks)
{
    EXPECT_EQ(ParseBounded(" 250 ", 10, 10000), 250u);
    EXPECT_FALSE(ParseBounded("5", 10, 10000));
    EXPECT_FALSE(ParseBounded("20000", 10, 10000));
    EXPECT_FALSE(ParseBounded("2e3", 10, 10000));
    EXPECT_FALSE(ParseBounded("-1", 0, 10));
    EXPECT_FALSE(ParseBounded("99999999999999", 0, 10));
    EXPECT_EQ(ParseNameList(" eth0, Ethernet 2 ,,"), (std::vector<std::string>{"eth0", "Ethernet 2"}));
    EXPECT_TRUE(ParseNameList("").empty());
}

TEST(HostInterfaces, EveryAddressButLoopbackNamedByAdapterAndAddress)
{
    std::vector<Os::NetworkInterface> system(4);
    system[0].name = "lo";
    system[0].address = Os::Ipv4Address::Loopback();
    system[0].loopback = true;
    system[1].name = "eth1";
    system[1].index = 3;
    system[1].address = Os::Ipv4Address(169, 254, 20, 1);
    system[1].prefixLength = 16;
    system[1].mtu = 9000;
    system[1].linkSpeed = 10000000000;
    system[2] = system[1];
    system[2].address = Os::Ipv4Address(192, 168, 30, 1);
    system[2].prefixLength = 24;
    system[2].linkSpeed = 0;
    system[3].name = "Ethernet 2";
    system[3].linkSpeed = 10000000000;
    system[3].virtualAdapter = true;
    system[3].address = Os::Ipv4Address(10, 0, 0, 5);
    system[3].prefixLength = 8;

    const auto all = SelectInterfaces(system, {});
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].mName, "eth1 (169.254.20.1/16)");
    EXPECT_EQ(all[0].mAdapter, "eth1");
    EXPECT_EQ(all[0].mIndex, 3u);
    EXPECT_EQ(all[0].mMtu, 9000u);
    // A link speed that is unknown or made up (a veth's) counts as 1 Gbit/s.
    EXPECT_EQ(all[0].mLinkSpeed, 10000000000u);
    EXPECT_EQ(all[1].mLinkSpeed, 1000000000u);
    EXPECT_EQ(all[2].mLinkSpeed, 1000000000u);
    EXPECT_EQ(all[1].mName, "eth1 (192.168.30.1/24)");
    EXPECT_EQ(all[2].mName, "Ethernet 2 (10.0.0.5/8)");
    EXPECT_TRUE(all[1].Contains(Os::Ipv4Address(192, 168, 30, 200)));
    EXPECT_FALSE(all[1].Contains(Os::Ipv4Address(192, 168, 31, 1)));

    const auto only = SelectInterfaces(system, {"Ethernet 2"});
    ASSERT_EQ(only.size(), 1u);
    EXPECT_EQ(only[0].mName, "Ethernet 2 (10.0.0.5/8)");
}
