// What the stream tests need around a Stream: a device side that keeps the
// camera's registers in memory (FakeHost), a camera of the tests' own that
// sends GVSP from another address of the lab (TestCamera), frames and their
// packets, and the waits. Every test runs in the lab of cmake/netns-run.sh,
// which tests/os/net/Lab.cpp checks before any traffic.
#pragma once

#include "Lab.h"

#include "os/Event.h"
#include "os/UdpSocket.h"
#include "stream/Stream.h"
#include "stream/StreamHost.h"
#include "wire/GvspHeader.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace StreamLab {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t Mono8 = 0x01080001;
constexpr std::uint32_t ScpAddress = 0x0D00;
constexpr std::uint32_t ScpsAddress = 0x0D04;
constexpr std::uint32_t ScdaAddress = 0x0D18;

class FakeHost : public Gige::StreamHost {
public:
    explicit FakeHost(std::uint32_t packetSize = 1500);

    GC_ERROR ReadRegister(std::uint32_t address, std::uint32_t& value) override;
    GC_ERROR WriteRegister(std::uint32_t address, std::uint32_t value) override;
    Os::Ipv4Address HostAddress() const override { return Lab::LeftAddress; }
    const std::string& InterfaceName() const override { return Lab::Left; }
    unsigned InterfaceIndex() const override;
    unsigned InterfaceMtu() const override { return mMtu; }
    Os::Ipv4Address CameraAddress() const override { return Lab::RightAddress; }
    bool IsLost() const override { return mLost; }

    std::uint32_t Register(std::uint32_t address) const;
    void SetRegister(std::uint32_t address, std::uint32_t value) { mRegisters[address] = value; }
    // Writes to this address fail with the code from now on (0: they succeed).
    void FailWrites(std::uint32_t address, GC_ERROR code) { mFailingWrites[address] = code; }
    const std::vector<std::pair<std::uint32_t, std::uint32_t>>& Writes() const { return mWrites; }
    void SetMtu(unsigned mtu) { mMtu = mtu; }
    void SetLost() { mLost = true; }

private:
    std::map<std::uint32_t, std::uint32_t> mRegisters;
    std::map<std::uint32_t, GC_ERROR> mFailingWrites;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> mWrites;
    unsigned mMtu = 9000;
    bool mLost = false;
};

struct FrameShape {
    std::uint64_t mBlockId = 1;
    bool mExtended = false;
    std::uint32_t mWidth = 640;
    std::uint32_t mHeight = 480;
    std::uint32_t mPacketSize = 1500;

    std::size_t ImageBytes() const { return std::size_t{mWidth} * mHeight; }
    std::uint32_t BytesPerPacket() const;
    // Payload packets; the trailer's ID is one more.
    std::uint32_t PayloadPackets() const;
};

// Mono8 pixels that differ from frame to frame.
Bytes Image(const FrameShape& shape, std::uint8_t seed);

// The datagrams of a frame in the order a camera sends them: leader,
// payload packets, trailer.
std::vector<Bytes> FramePackets(const FrameShape& shape, const Bytes& image);
// One stream packet of any format with this body.
Bytes Packet(const Gige::GvspHeader& header, const Bytes& body);

class TestCamera {
public:
    // Sends from this address of the lab, across the link (so that the
    // host's packet ring sees the packets), to where the host's registers
    // point the stream.
    explicit TestCamera(Os::Ipv4Address address = Lab::RightAddress);

    void Aim(const FakeHost& host);
    void Aim(const Os::Endpoint& destination) { mDestination = destination; }
    Os::Endpoint Destination() const { return mDestination; }
    void Send(const Bytes& datagram);
    void Send(const std::vector<Bytes>& datagrams);

private:
    Os::UdpSocket mSocket;
    Os::Endpoint mDestination;
};

// A buffer of exactly its size (so that AddressSanitizer sees a write past
// it), filled with Untouched.
constexpr std::uint8_t Untouched = 0xEE;
std::unique_ptr<std::uint8_t[]> NewBuffer(std::size_t size);

// Waits for the event of the stream's records, up to timeoutMs.
bool WaitFor(Os::Event& event, std::uint32_t timeoutMs);
// Waits for a record and takes it.
struct Taken {
    GC_ERROR mCode = GC_ERR_NO_DATA;
    BUFFER_HANDLE mBuffer = nullptr;
};
Taken TakeNext(Gige::Stream& stream, Os::Event& event, std::uint32_t timeoutMs = 3000);

std::uint64_t Info(const Gige::Stream& stream, std::int32_t command);
std::string InfoText(const Gige::Stream& stream, std::int32_t command);
// Waits until the counter reaches the value (up to timeoutMs); its last value.
std::uint64_t WaitForInfo(const Gige::Stream& stream, std::int32_t command, std::uint64_t value,
                          std::uint32_t timeoutMs = 3000);

// True where this test can use the packet ring (Linux, CAP_NET_RAW).
bool RingExpected();

}
