// The lab that cmake/netns-run.sh builds for these tests, and helpers that
// move datagrams through it.
#pragma once

#include "os/Ipv4Address.h"
#include "os/NetworkInterfaces.h"
#include "os/UdpSocket.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Lab {

inline const std::string Left = "veth-kx0";    // 169.254.10.1/16, MTU 9000
inline const std::string Right = "veth-kx1";   // 169.254.20.1/16 and 169.254.30.1/16, MTU 9000
inline const std::string Unplugged = "veth-kx2"; // 169.254.40.1/24, MTU 1500, no link
constexpr Os::Ipv4Address LeftAddress(169, 254, 10, 1);
constexpr Os::Ipv4Address RightAddress(169, 254, 20, 1);
constexpr Os::Ipv4Address RightSecondAddress(169, 254, 30, 1);
constexpr Os::Ipv4Address UnpluggedAddress(169, 254, 40, 1);

// The adapter's index; 0 when the lab has no such adapter.
unsigned IndexOf(const std::string& name);

// A socket open and bound to address:port (port 0: any); fails the test
// otherwise.
Os::UdpSocket Bound(Os::Ipv4Address address, std::uint16_t port = 0);

// Waits up to timeoutMs for one datagram and returns its bytes (empty on
// time-out); source and arrival tell where it came from.
std::vector<std::uint8_t> ReceiveOne(Os::UdpSocket& socket, std::uint32_t timeoutMs,
                                     Os::Endpoint* source = nullptr, Os::Arrival* arrival = nullptr);

// True when the test binary runs without CAP_NET_RAW and CAP_NET_ADMIN
// (the runner says so in KAVRIX_NET_UNPRIVILEGED).
bool Unprivileged();

}
