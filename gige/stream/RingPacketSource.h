// Stream packets from the kernel's packet ring, which holds only the
// camera's datagrams to the stream port: each payload is copied once, from
// the ring into its place in the frame's buffer. The UDP socket stays bound
// so the port is ours and the camera's datagrams meet no closed port; its
// buffer is the smallest the system grants and nothing reads it.
#pragma once

#include "os/Ipv4Address.h"
#include "os/PacketRing.h"
#include "os/UdpSocket.h"
#include "stream/PacketSource.h"

#include <string>

namespace Gige {

class RingPacketSource final : public PacketSource {
public:
    RingPacketSource(Os::PacketRing ring, Os::UdpSocket portHolder, Os::Ipv4Address camera);

    Os::WaitResult Wait(std::uint32_t timeoutMs) override;
    bool Receive(FrameAssembler& assembler, long long& seen) override;
    // How long the kernel may keep a packet in a block that is not full.
    std::uint32_t HoldMs() const override { return mHoldMs; }
    void Wake() override;
    bool SendResend(const std::uint8_t* data, std::size_t size) override;
    const std::string& LastError() const override { return mLastError; }

private:
    Os::PacketRing mRing;
    Os::UdpSocket mPortHolder;
    Os::Ipv4Address mCamera;
    std::uint32_t mHoldMs;
    std::string mLastError;
};

}
