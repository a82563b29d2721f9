// A receive ring of the kernel on one adapter (Linux AF_PACKET, TPACKET_V3)
// that holds only the UDP datagrams from one source address to one
// destination port: a stream receiver reads each payload where the kernel
// put it and copies it once, into the image. It needs CAP_NET_RAW; without
// it, and on Windows, Open fails with the reason and the receiver keeps to
// its UdpSocket.
//
// The kernel fills blocks of packets and hands a block over when it is full
// or its time-out has passed. The reader waits for the next block, reads its
// packets and releases it; a packet's payload stays valid until then.
//
// Not reassembled: a datagram larger than the adapter's MTU comes as its
// first fragment, marked truncated, and its other fragments never (the UDP
// socket would see it whole). Not delivered: datagrams that leave by the
// adapter. UDP checksums are not checked.
//
// One thread reads a ring; only Wake may come from any thread while it is open.
#pragma once

#include "os/Ipv4Address.h"
#include "os/WaitResult.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Os {

struct PacketRingOptions {
    std::string interfaceName;
    Ipv4Address source;
    std::uint16_t destinationPort = 0;
    // A block holds many packets and must hold the largest one; a multiple
    // of the page size (4096).
    std::size_t blockSize = 1u << 20;
    std::size_t blockCount = 16;
    // A block that is not full is handed over after this time; 0 lets the
    // kernel choose from the link's speed.
    std::uint32_t blockTimeoutMs = 5;
};

struct RingPacket {
    const std::uint8_t* payload = nullptr;
    std::size_t size = 0;
    // The block could not hold the whole datagram: size is what it holds.
    bool truncated = false;
    Endpoint source;
};

struct RingStatistics {
    // Since Open: the datagrams that passed the filter, and those of them
    // the kernel dropped because every block was full.
    std::uint64_t packets = 0;
    std::uint64_t drops = 0;
};

class PacketRing {
public:
    // False where no packet ring exists (Windows).
    static bool IsAvailable();

    PacketRing();
    ~PacketRing();
    PacketRing(const PacketRing&) = delete;
    PacketRing& operator=(const PacketRing&) = delete;
    PacketRing(PacketRing&& other) noexcept;
    PacketRing& operator=(PacketRing&& other) noexcept;

    // False with the reason in LastError: no CAP_NET_RAW, no such adapter,
    // block sizes the kernel refuses, or no ring on this system.
    bool Open(const PacketRingOptions& options);
    void Close();
    bool IsOpen() const { return mState != nullptr; }
    const std::string& LastError() const { return mLastError; }

    // Waits until the next block is handed over, the time-out passes
    // (Os::Infinite waits without limit) or Wake is called (which wins).
    WaitResult WaitBlock(std::uint32_t timeoutMs);
    // The next datagram of the handed-over block; false at its end, or when
    // no block is handed over.
    bool NextPacket(RingPacket& packet);
    // How long ago the last datagram of the handed-over block arrived, in
    // whole milliseconds rounded up; 0 when no block is handed over. The
    // kernel fills blocks in order: every datagram that arrived before it
    // is in this block or an earlier one.
    long long BlockAgeMs() const;
    // Gives the block back to the kernel and moves on to the next.
    void ReleaseBlock();
    // The longest a datagram may wait in a block that is not full before
    // the block is handed over: the kernel's timer rounds the time-out up to
    // whole ticks and is armed up to a tick early (with 250 ticks a second,
    // 8 ms for a time-out of 2).
    std::uint32_t HoldMs() const;
    // The counters so far; when the kernel's cannot be read, those of the
    // last read, with the reason in LastError.
    RingStatistics Statistics();
    void Wake();

private:
    struct State;

    std::unique_ptr<State> mState;
    std::string mLastError;
};

}
