// The machine's IPv4 network interfaces, as GigE Vision discovery needs
// them: one entry per adapter and IPv4 address.
#pragma once

#include "os/Ipv4Address.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Os {

struct NetworkInterface {
    // Linux: the interface name ("eth0"); Windows: the adapter's friendly
    // name ("Ethernet 2"), in UTF-8.
    std::string name;
    // The system's number for the adapter: what UdpSocket::SetSendInterface
    // takes and DatagramSlot::arrival reports.
    unsigned index = 0;
    Ipv4Address address;
    unsigned prefixLength = 0;
    std::uint32_t mtu = 0;
    bool loopback = false;
    // Operational: the adapter is enabled and has a link (Linux: IFF_UP and
    // IFF_RUNNING; Windows: OperStatus up).
    bool up = false;
    // Bits per second where the system tells (Linux: the adapter's speed
    // file; Windows: the transmit link speed), 0 when it does not.
    std::uint64_t linkSpeed = 0;
    // No hardware behind the adapter (Linux: no device in sysfs, as for a
    // veth, a bridge or a tunnel), so its speed is made up.
    bool virtualAdapter = false;
};

// Every IPv4 address of every adapter, down ones included, ordered by
// adapter index. Raises std::system_error when the system cannot list them.
std::vector<NetworkInterface> NetworkInterfaces();

}
