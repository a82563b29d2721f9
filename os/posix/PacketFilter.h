// The kernel filter of a packet ring: only UDP datagrams from one source
// address to one destination port pass.
#pragma once

#include "os/Ipv4Address.h"

#include <cstdint>

namespace Os {

// Attaches the filter to a packet socket of type SOCK_DGRAM (its packets
// start at the IPv4 header). Fragments do not pass: only a whole datagram
// has its UDP header where the filter looks. False with errno on failure.
bool AttachUdpFilter(int packetSocket, Ipv4Address source, std::uint16_t destinationPort);

}
