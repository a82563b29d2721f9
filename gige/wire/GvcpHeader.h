// The 8-byte header of every control datagram, command or acknowledge, and
// the decoded datagram the body decoders start from. The camera listens on
// UDP port 3956; every field is big-endian.
#pragma once

#include "wire/WireError.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace Gige {

constexpr std::uint16_t GvcpPort = 3956;
constexpr std::size_t GvcpHeaderSize = 8;
// A control datagram fits a 576-byte IP datagram: at most 548 bytes with the
// header, so a memory access carries at most 536 bytes beside its address.
constexpr std::size_t GvcpMaxDatagram = 548;
// Every encoder writes one whole datagram into such a buffer.
using GvcpBuffer = std::array<std::uint8_t, GvcpMaxDatagram>;

// The first byte of every command.
constexpr std::uint8_t GvcpKey = 0x42;

namespace CommandFlag {
constexpr std::uint8_t AckRequired = 0x01;
// DISCOVERY and FORCEIP: the camera may answer by broadcast.
constexpr std::uint8_t AllowBroadcastAck = 0x10;
// PACKETRESEND: 64-bit block IDs and 32-bit packet IDs.
constexpr std::uint8_t ExtendedIds = 0x10;
}

// Command and acknowledge codes; a code not listed is carried as it came.
enum class GvcpCode : std::uint16_t {
    DiscoveryCmd = 0x0002,
    DiscoveryAck = 0x0003,
    ForceIpCmd = 0x0004,
    ForceIpAck = 0x0005,
    PacketResendCmd = 0x0040,
    ReadRegCmd = 0x0080,
    ReadRegAck = 0x0081,
    WriteRegCmd = 0x0082,
    WriteRegAck = 0x0083,
    ReadMemCmd = 0x0084,
    ReadMemAck = 0x0085,
    WriteMemCmd = 0x0086,
    WriteMemAck = 0x0087,
    PendingAck = 0x0089,
    EventCmd = 0x00C0,
    EventAck = 0x00C1,
    EventDataCmd = 0x00C2,
    EventDataAck = 0x00C3,
    ActionCmd = 0x0100,
    ActionAck = 0x0101
};

struct CommandHeader {
    std::uint8_t mFlags;
    GvcpCode mCommand;
    std::uint16_t mLength;      // bytes of body after the header
    std::uint16_t mRequestId;   // never 0; wraps from 0xFFFF to 1
};

struct AckHeader {
    std::uint16_t mStatus;      // GvcpStatus; 0 on success
    GvcpCode mAck;
    std::uint16_t mLength;      // bytes of body after the header
    std::uint16_t mAckId;       // the request ID answered
};

// A decoded datagram. The body stays in the datagram, mHeader.mLength bytes.
struct GvcpCommand {
    CommandHeader mHeader;
    const std::uint8_t* mBody;
};

struct GvcpAck {
    AckHeader mHeader;
    const std::uint8_t* mBody;
};

// UDP keeps datagram boundaries, so the length field of a sound datagram
// always equals the bytes after the header; anything else is refused.
WireError DecodeCommand(const std::uint8_t* data, std::size_t size, GvcpCommand& command);
WireError DecodeAck(const std::uint8_t* data, std::size_t size, GvcpAck& ack);

// Write the header at the start of out; both return GvcpHeaderSize.
std::size_t EncodeCommandHeader(const CommandHeader& header, GvcpBuffer& out);
std::size_t EncodeAckHeader(const AckHeader& header, GvcpBuffer& out);

}
