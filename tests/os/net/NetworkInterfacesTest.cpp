#include "Lab.h"

#include "os/NetworkInterfaces.h"
#include "os/System.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const Os::NetworkInterface* Find(const std::vector<Os::NetworkInterface>& interfaces, Os::Ipv4Address address)
{
    const auto found = std::find_if(interfaces.begin(), interfaces.end(),
                                    [address](const Os::NetworkInterface& item) { return item.address == address; });
    return found == interfaces.end() ? nullptr : &*found;
}

}

TEST(NetworkInterfaces, ListsEveryAddressOfEveryAdapterWithItsProperties)
{
    const std::vector<Os::NetworkInterface> interfaces = Os::NetworkInterfaces();
    ASSERT_EQ(interfaces.size(), 5u) << "loopback, one address of " << Lab::Left << ", two of " << Lab::Right
                                     << ", one of " << Lab::Unplugged;

    const Os::NetworkInterface* loopback = Find(interfaces, Os::Ipv4Address::Loopback());
    ASSERT_NE(loopback, nullptr);
    EXPECT_TRUE(loopback->loopback);
    EXPECT_TRUE(loopback->up);
    EXPECT_EQ(loopback->prefixLength, 8u);

    const Os::NetworkInterface* left = Find(interfaces, Lab::LeftAddress);
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->name, Lab::Left);
    EXPECT_EQ(left->prefixLength, 16u);
    EXPECT_EQ(left->mtu, 9000u);
    EXPECT_FALSE(left->loopback);
    EXPECT_TRUE(left->up);
    // Wine leaves every adapter's speed unknown.
    EXPECT_EQ(left->linkSpeed, Os::RunsUnderWine() ? 0 : 10000000000ull) << "a veth link tells 10 Gbit/s";

    const Os::NetworkInterface* right = Find(interfaces, Lab::RightAddress);
    const Os::NetworkInterface* rightSecond = Find(interfaces, Lab::RightSecondAddress);
    ASSERT_NE(right, nullptr);
    ASSERT_NE(rightSecond, nullptr);
    EXPECT_EQ(right->name, Lab::Right);
    EXPECT_EQ(rightSecond->name, Lab::Right);
    EXPECT_EQ(rightSecond->index, right->index) << "two addresses of one adapter";
    EXPECT_EQ(rightSecond->prefixLength, 16u);
    EXPECT_EQ(right->mtu, 9000u);
    EXPECT_TRUE(right->up);

    const Os::NetworkInterface* unplugged = Find(interfaces, Lab::UnpluggedAddress);
    ASSERT_NE(unplugged, nullptr);
    EXPECT_EQ(unplugged->name, Lab::Unplugged);
    EXPECT_EQ(unplugged->prefixLength, 24u);
    EXPECT_EQ(unplugged->mtu, 1500u);
    // Wine calls an enabled adapter up, link or not.
    EXPECT_EQ(unplugged->up, Os::RunsUnderWine()) << "enabled, but without a link";

    EXPECT_NE(left->index, right->index);
    EXPECT_NE(left->index, unplugged->index);
    EXPECT_NE(left->index, 0u);
    EXPECT_TRUE(std::is_sorted(interfaces.begin(), interfaces.end(),
                               [](const Os::NetworkInterface& a, const Os::NetworkInterface& b) {
                                   return a.index < b.index;
                               }));
}
