// One IPv4 address of one of the machine's network adapters: what the
// producer calls an interface.
#pragma once

#include "os/Ipv4Address.h"

#include <cstdint>
#include <string>

namespace Gige {

struct HostInterface {
    // "eth0 (192.168.10.1/24)": the adapter and its address.
    std::string mName;
    // The adapter as the system names it ("eth0"; Windows: "Ethernet 2").
    std::string mAdapter;
    unsigned mIndex = 0;
    Os::Ipv4Address mAddress;
    unsigned mPrefixLength = 0;
    std::uint32_t mMtu = 0;
    // Bits per second the link counts as when cameras share it: the
    // adapter's speed, or 1 Gbit/s when the system does not tell or makes
    // it up (a veth tells 10 Gbit/s, Wine 0).
    std::uint64_t mLinkSpeed = 1000000000;

    // The address lies in this interface's subnet.
    bool Contains(Os::Ipv4Address address) const
    {
        const std::uint32_t mask = mPrefixLength == 0 ? 0 : ~std::uint32_t{0} << (32 - mPrefixLength);
        return (address.Value() & mask) == (mAddress.Value() & mask);
    }
};

}
