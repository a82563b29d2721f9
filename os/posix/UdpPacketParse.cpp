#include "os/posix/UdpPacketParse.h"

#include <algorithm>

namespace Os {

namespace {

constexpr std::size_t UdpHeaderSize = 8;

std::uint16_t Read16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

std::uint32_t Read32(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(Read16(bytes)) << 16 | Read16(bytes + 2);
}

}

bool ParseUdpPacket(const std::uint8_t* packet, std::size_t captured, std::size_t length, RingPacket& result)
{
    if (packet == nullptr || captured < 20 || captured > length || (packet[0] >> 4) != 4 || packet[9] != 17) {
        return false;
    }
    const std::size_t headerSize = static_cast<std::size_t>(packet[0] & 0x0F) * 4;
    const std::size_t totalSize = Read16(packet + 2);
    if (headerSize < 20 || captured < headerSize + UdpHeaderSize || totalSize > length ||
        totalSize < headerSize + UdpHeaderSize) {
        return false;
    }
    const std::uint8_t* udp = packet + headerSize;
    const std::size_t udpSize = Read16(udp + 4);
    // The first fragment of a datagram larger than the link holds its start
    // only: read as a datagram cut short, so that the reader counts it.
    const bool firstFragment = (Read16(packet + 6) & 0x3FFF) == 0x2000;
    if (udpSize < UdpHeaderSize || (udpSize > totalSize - headerSize && !firstFragment)) {
        return false;
    }
    const std::size_t payloadSize = udpSize - UdpHeaderSize;
    const std::size_t held = std::min(captured, totalSize) - headerSize - UdpHeaderSize;
    result.payload = udp + UdpHeaderSize;
    result.truncated = payloadSize > held;
    result.size = result.truncated ? held : payloadSize;
    result.source = Endpoint{Ipv4Address(Read32(packet + 12)), Read16(udp)};
    return true;
}

}
