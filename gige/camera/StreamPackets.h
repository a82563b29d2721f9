// The stream packets of a sent frame, built without copying its pixels: the
// packet header (and a leader's or trailer's body) in a small buffer of the
// datagram, the payload straight from the frame.
#pragma once

#include "FrameRing.h"
#include "os/UdpSocket.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace GigeCamera {

struct Datagram {
    // The extended header (20 bytes) and a leader (36) fit.
    std::array<std::uint8_t, 64> mHead{};
    std::size_t mHeadSize = 0;
    const std::uint8_t* mPayload = nullptr;
    std::size_t mPayloadSize = 0;
    // Bytes after the payload (zeros), for an oversized packet.
    const std::uint8_t* mPadding = nullptr;
    std::size_t mPaddingSize = 0;

    // Fills spans in order; returns how many.
    std::size_t Spans(Os::ConstBufferSpan (&spans)[Os::MaxDatagramSpans]) const;
};

// Packet packetId of the frame (0 the leader, then the payload, then the
// trailer); false for an id past the trailer. A resent packet says so.
bool MakePacket(const SentFrame& frame, std::uint32_t packetId, bool resent, Datagram& out);

// The answer to a request for a packet the camera no longer has, or (range
// error) for an id past the frame's trailer.
void MakeUnavailable(std::uint64_t blockId, bool extended, std::uint32_t packetId, bool rangeError, Datagram& out);

// A malformed packet (one Malformed bit) to follow packet packetId; zeros
// holds at least the frame's bytes per packet plus 4 zero bytes.
void MakeMalformed(const SentFrame& frame, std::uint32_t packetId, unsigned kind, const std::uint8_t* zeros,
                   Datagram& out);

}
