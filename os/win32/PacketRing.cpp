// Windows has no packet ring for a process: streams come by UdpSocket.
#include "os/PacketRing.h"

namespace Os {

struct PacketRing::State {
};

bool PacketRing::IsAvailable()
{
    return false;
}

PacketRing::PacketRing() = default;
PacketRing::~PacketRing() = default;
PacketRing::PacketRing(PacketRing&& other) noexcept = default;
PacketRing& PacketRing::operator=(PacketRing&& other) noexcept = default;

bool PacketRing::Open(const PacketRingOptions& options)
{
    mLastError = "cannot open a packet ring on \"" + options.interfaceName +
                 "\": Windows has no packet ring; receive the stream with a UDP socket";
    return false;
}

void PacketRing::Close()
{
    mState.reset();
}

WaitResult PacketRing::WaitBlock(std::uint32_t)
{
    return WaitResult::Failed;
}

bool PacketRing::NextPacket(RingPacket&)
{
    return false;
}

long long PacketRing::BlockAgeMs() const
{
    return 0;
}

void PacketRing::ReleaseBlock()
{
}

std::uint32_t PacketRing::HoldMs() const
{
    return 0;
}

RingStatistics PacketRing::Statistics()
{
    return {};
}

void PacketRing::Wake()
{
}

}
