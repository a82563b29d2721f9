#include "stream/RingPacketSource.h"

#include "os/System.h"
#include "wire/GvcpHeader.h"

#include <algorithm>

namespace Gige {

namespace {

// Blocks read in one Receive before the frames' deadlines are looked at again.
constexpr int MaxBlocks = 4;

}

RingPacketSource::RingPacketSource(Os::PacketRing ring, Os::UdpSocket portHolder, Os::Ipv4Address camera)
    : mRing(std::move(ring)), mPortHolder(std::move(portHolder)), mCamera(camera), mHoldMs(mRing.HoldMs())
{
}

Os::WaitResult RingPacketSource::Wait(std::uint32_t timeoutMs)
{
    const Os::WaitResult result = mRing.WaitBlock(timeoutMs);
    if (result == Os::WaitResult::Failed) {
        mLastError = mRing.LastError();
    }
    return result;
}

bool RingPacketSource::SendResend(const std::uint8_t* data, std::size_t size)
{
    return mPortHolder.SendTo({mCamera, GvcpPort}, data, size);
}

void RingPacketSource::Wake()
{
    mRing.Wake();
}

bool RingPacketSource::Receive(FrameAssembler& assembler, long long& seen)
{
    for (int block = 0; block <= MaxBlocks; ++block) {
        const long long now = Os::MonotonicMilliseconds();
        const Os::WaitResult next = mRing.WaitBlock(0);
        if (next == Os::WaitResult::TimedOut) {
            // A packet that came before the longest hold of a block is in
            // a block handed over, and so in.
            seen = std::max(seen, now - mHoldMs);
            return true;
        }
        if (next == Os::WaitResult::Failed) {
            mLastError = mRing.LastError();
            return false;
        }
        // Woken (to stop), or blocks left for the next round.
        if (next == Os::WaitResult::Woken || block == MaxBlocks) {
            return true;
        }
        assembler.SetNow(now);
        const long long age = mRing.BlockAgeMs();
        Os::RingPacket datagram;
        while (mRing.NextPacket(datagram)) {
            // The ring's filter lets only the camera's datagrams in.
            if (datagram.source.address != mCamera) {
                continue;
            }
            GvspPacket decoded{};
            if (datagram.truncated ||
                DecodeGvspPacket(datagram.payload, datagram.size, decoded) != WireError::None) {
                assembler.CountMalformed();
                continue;
            }
            StreamPacket packet;
            packet.mHeader = decoded.mHeader;
            packet.mBody = decoded.mBody;
            packet.mBodySize = decoded.mBodySize;
            assembler.Accept(packet);
        }
        mRing.ReleaseBlock();
        // Every packet that came up to the block's last one is in: a
        // receiver that is behind still sees time pass for its frames.
        seen = std::max(seen, now - age);
    }
    return true;
}

}
