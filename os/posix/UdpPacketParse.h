// A UDP datagram's payload and source, read from its IPv4 packet as a packet
// ring holds it.
#pragma once

#include "os/PacketRing.h"

#include <cstddef>
#include <cstdint>

namespace Os {

// captured: the bytes at packet; length: the packet's length on the wire
// (more when the ring cut it). False for anything that is no well-formed
// IPv4 UDP datagram within those bounds.
bool ParseUdpPacket(const std::uint8_t* packet, std::size_t captured, std::size_t length, RingPacket& result);

}
