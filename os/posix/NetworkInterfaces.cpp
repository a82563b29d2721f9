// The interface list from getifaddrs, with the MTU from the interface's
// ioctl and the speed from sysfs, which getifaddrs does not give.
#include "os/NetworkInterfaces.h"

#include "os/posix/Descriptor.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <system_error>

namespace Os {

namespace {

unsigned PrefixLength(const sockaddr* netmask)
{
    if (netmask == nullptr || netmask->sa_family != AF_INET) {
        return 0;
    }
    std::uint32_t mask = ntohl(reinterpret_cast<const sockaddr_in*>(netmask)->sin_addr.s_addr);
    unsigned length = 0;
    while ((mask & 0x80000000u) != 0) {
        ++length;
        mask <<= 1;
    }
    return length;
}

std::uint32_t Mtu(int probe, const std::string& name)
{
    ifreq request{};
    std::strncpy(request.ifr_name, name.c_str(), IFNAMSIZ - 1);
    return probe >= 0 && ioctl(probe, SIOCGIFMTU, &request) == 0 ? static_cast<std::uint32_t>(request.ifr_mtu) : 0;
}

// Mbit/s in the speed file; absent, unreadable (a link that is down) or -1
// when the driver does not know.
std::uint64_t LinkSpeed(const std::string& name)
{
    std::ifstream file("/sys/class/net/" + name + "/speed");
    long long megabits = 0;
    if (!(file >> megabits) || megabits <= 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(megabits) * 1000000u;
}

bool IsVirtual(const std::string& name)
{
    std::ifstream device("/sys/class/net/" + name + "/device/uevent");
    return !device.is_open();
}

struct AddressListFree {
    void operator()(ifaddrs* list) const { freeifaddrs(list); }
};

}

std::vector<NetworkInterface> NetworkInterfaces()
{
    ifaddrs* raw = nullptr;
    if (getifaddrs(&raw) != 0) {
        throw std::system_error(errno, std::generic_category(), "getifaddrs");
    }
    const std::unique_ptr<ifaddrs, AddressListFree> list(raw);
    // Only asked for MTUs; without it they read 0.
    const Descriptor probe(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));

    std::vector<NetworkInterface> interfaces;
    for (const ifaddrs* entry = raw; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET || entry->ifa_name == nullptr) {
            continue;
        }
        NetworkInterface item;
        // An address with a label ("eth0:1") belongs to the adapter before
        // the colon, which no adapter name contains.
        item.name = entry->ifa_name;
        item.name = item.name.substr(0, item.name.find(':'));
        item.index = if_nametoindex(item.name.c_str());
        item.address = Ipv4Address(ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr));
        item.prefixLength = PrefixLength(entry->ifa_netmask);
        item.mtu = Mtu(probe.Get(), item.name);
        item.loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
        item.up = (entry->ifa_flags & IFF_UP) != 0 && (entry->ifa_flags & IFF_RUNNING) != 0;
        item.linkSpeed = LinkSpeed(item.name);
        item.virtualAdapter = IsVirtual(item.name);
        interfaces.push_back(std::move(item));
    }
    std::stable_sort(interfaces.begin(), interfaces.end(),
                     [](const NetworkInterface& a, const NetworkInterface& b) { return a.index < b.index; });
    return interfaces;
}

}
