// How a frame is cut into stream packets. SCPS gives the size of the whole
// IP datagram; what is left for payload is what remains after the IP (20),
// UDP (8) and packet (8 or 20) headers. Every payload packet but the last
// carries exactly that much, so packet k lands at (k - 1) times it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Gige {

constexpr std::uint32_t StreamOverhead = 20 + 8 + 8;
constexpr std::uint32_t ExtendedStreamOverhead = 20 + 8 + 20;

// Payload bytes per packet for an SCPS value (its packet size field, the
// low 16 bits, is used), e.g. 1364 for 1400; 0 when nothing is left.
std::uint32_t PayloadBytesPerPacket(std::uint32_t scps, bool extended);

// Where payload packet k starts in the frame; 0 for packet 0, the leader.
std::uint64_t PayloadOffset(std::uint32_t packetId, std::uint32_t bytesPerPacket);

// Payload packets of a frame of frameBytes; the trailer's packet ID is one
// more. 0 when bytesPerPacket is 0.
std::uint64_t PayloadPacketCount(std::uint64_t frameBytes, std::uint32_t bytesPerPacket);

// True when payload packet packetId with a body of bodySize bytes lies
// wholly inside a frame buffer of bufferSize: its ID is not 0 and its body
// is no larger than bytesPerPacket. A packet that fails this must not be
// copied into the buffer.
bool PayloadFits(std::uint32_t packetId, std::size_t bodySize, std::uint32_t bytesPerPacket,
                 std::uint64_t bufferSize);

}
