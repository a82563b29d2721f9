// Stream packets from the UDP socket, many datagrams per system call. Each
// datagram is received in three parts: its header, its payload straight
// into the place in the frame's buffer that the assembler predicts for it,
// and scratch for what runs over. So the payload is copied once, by the
// system, into the host's buffer; a datagram that was not the one predicted
// lands whole in its scratch (its payload moved there if it came in the
// predicted place) and the assembler moves it once more, to its place.
// While a frame comes, the receiver may nap between small batches, so that
// a frame costs a few calls, not one per datagram or two.
#pragma once

#include "os/Ipv4Address.h"
#include "os/UdpSocket.h"
#include "stream/PacketSource.h"
#include "stream/StreamPacket.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Gige {

class UdpPacketSource final : public PacketSource {
public:
    // The socket is bound and sized; datagrams from other addresses than
    // the camera's are dropped. packetSize is the stream's whole IP datagram;
    // napMs the nap between small batches while a frame comes (0: none),
    // which the socket's receive buffer must hold many times over.
    UdpPacketSource(Os::UdpSocket socket, Os::Ipv4Address camera, std::uint32_t packetSize, std::uint32_t napMs);

    Os::WaitResult Wait(std::uint32_t timeoutMs) override;
    bool Receive(FrameAssembler& assembler, long long& seen) override;
    std::uint32_t HoldMs() const override { return 0; }
    void Wake() override;
    bool SendResend(const std::uint8_t* data, std::size_t size) override;
    const std::string& LastError() const override { return mLastError; }

private:
    static constexpr std::size_t Batch = Os::MaxDatagramsPerReceive;

    // One batch: aims the slots, receives and hands the packets over; the
    // number of datagrams received, or -1. started is when the system was asked.
    int ReceiveBatch(FrameAssembler& assembler, long long& started);
    void AimSlots(FrameAssembler& assembler);
    void NapWhileAFrameComes(std::size_t lastBatch, const FrameAssembler& assembler);
    // Decodes datagram i and makes its body one run of bytes: in its
    // predicted place, or in its scratch. False for a datagram to drop.
    bool Settle(std::size_t i, FrameAssembler& assembler);

    Os::UdpSocket mSocket;
    Os::Ipv4Address mCamera;
    std::uint32_t mNapMs;
    std::size_t mScratchSize;
    std::size_t mHeaderSize = 0;
    std::vector<std::uint8_t> mHeaders;
    std::vector<std::uint8_t> mScratch;
    Os::DatagramSlot mSlots[Batch];
    PayloadSlot mPredicted[Batch];
    StreamPacket mPackets[Batch];
    bool mUsable[Batch] = {};
    std::string mLastError;
};

}
