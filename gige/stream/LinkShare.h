// Cameras that stream through one adapter share its link: each streaming
// camera gets an equal part of the link's speed, paced by its inter-packet
// delay (SCPD), so that together their bursts fit the link instead of
// overflowing the switch's buffer in front of the host.
//
// A camera sending packets of S bytes (the IP datagram; 38 bytes more on
// the wire: Ethernet header, checksum, preamble and gap) at an n-th of a link
// of B bit/s leaves a gap of (S + 38) * 8 * (n - 1) / B seconds after each
// packet. The camera's own delay, when longer, stays.
#pragma once

#include "stream/StreamHost.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Gige {

// The gap, in ticks of the camera's clock, that keeps one of cameras
// streaming packets of packetSize within its share of the link.
std::uint32_t SharedLinkDelay(std::uint32_t packetSize, std::uint64_t linkBitsPerSecond, std::size_t cameras,
                              std::uint64_t ticksPerSecond);

class LinkShare {
public:
    // A streaming camera: the share writes its SCPD through host.
    struct Member {
        StreamHost* mHost = nullptr;
        std::uint32_t mPacketSize = 0;
        std::uint64_t mTicksPerSecond = 0;
        // The camera's own SCPD when it joined; it gets it back when it leaves.
        std::uint32_t mOwnDelay = 0;
    };

    explicit LinkShare(std::uint64_t linkBitsPerSecond) : mLinkBitsPerSecond(linkBitsPerSecond) {}
    // Every streaming camera of the link gets its new delay. A camera whose
    // delay cannot be written (it has no SCPD) streams on as it was.
    void Join(const Member& member);
    // The camera gets its own delay back, the others their larger share.
    void Leave(StreamHost* host);

private:
    void WriteDelays();

    const std::uint64_t mLinkBitsPerSecond;
    std::mutex mMutex;
    std::vector<Member> mMembers;
};

// The shares of the machine's adapters, by the adapter's system name.
class LinkShares {
public:
    std::shared_ptr<LinkShare> For(const std::string& adapter, std::uint64_t linkBitsPerSecond);

private:
    std::mutex mMutex;
    std::vector<std::pair<std::string, std::shared_ptr<LinkShare>>> mShares;
};

}
