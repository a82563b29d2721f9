#include "StreamLab.h"

#include "os/PacketRing.h"
#include "os/System.h"
#include "os/Thread.h"
#include "wire/ImageLeader.h"
#include "wire/StreamLayout.h"

#include <gtest/gtest.h>

#include <cstring>

namespace StreamLab {

FakeHost::FakeHost(std::uint32_t packetSize)
{
    mRegisters[ScpsAddress] = packetSize;
}

GC_ERROR FakeHost::ReadRegister(std::uint32_t address, std::uint32_t& value)
{
    value = Register(address);
    return GC_ERR_SUCCESS;
}

GC_ERROR FakeHost::WriteRegister(std::uint32_t address, std::uint32_t value)
{
    mWrites.emplace_back(address, value);
    const auto failing = mFailingWrites.find(address);
    if (failing != mFailingWrites.end() && failing->second != GC_ERR_SUCCESS) {
        return failing->second;
    }
    mRegisters[address] = value;
    return GC_ERR_SUCCESS;
}

unsigned FakeHost::InterfaceIndex() const
{
    return Lab::IndexOf(Lab::Left);
}

std::uint32_t FakeHost::Register(std::uint32_t address) const
{
    const auto found = mRegisters.find(address);
    return found == mRegisters.end() ? 0 : found->second;
}

std::uint32_t FrameShape::BytesPerPacket() const
{
    return Gige::PayloadBytesPerPacket(mPacketSize, mExtended);
}

std::uint32_t FrameShape::PayloadPackets() const
{
    return static_cast<std::uint32_t>(Gige::PayloadPacketCount(ImageBytes(), BytesPerPacket()));
}

StreamLab::Bytes Image(const FrameShape& shape, std::uint8_t seed)
{
    StreamLab::Bytes image(shape.ImageBytes());
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7 + i / 4093 + seed * 31);
    }
    return image;
}

StreamLab::Bytes Packet(const Gige::GvspHeader& header, const StreamLab::Bytes& body)
{
    StreamLab::Bytes datagram(Gige::GvspExtendedHeaderSize + body.size());
    const std::size_t headerSize = Gige::EncodeGvspHeader(header, datagram.data(), datagram.size());
    EXPECT_NE(headerSize, 0u) << "a header the encoder refuses";
    std::memcpy(datagram.data() + headerSize, body.data(), body.size());
    datagram.resize(headerSize + body.size());
    return datagram;
}

std::vector<StreamLab::Bytes> FramePackets(const FrameShape& shape, const StreamLab::Bytes& image)
{
    using Gige::GvspFormat;
    std::vector<StreamLab::Bytes> packets;
    Gige::GvspHeader header{0, shape.mExtended, 0, GvspFormat::Leader, shape.mBlockId, 0};

    Gige::ImageLeader leader{Gige::PayloadType::Image, 0x1122334455667788u + shape.mBlockId, Mono8, shape.mWidth,
                             shape.mHeight, 0, 0, 0, 0};
    StreamLab::Bytes body(Gige::ImageLeaderSize);
    Gige::EncodeImageLeader(leader, body.data(), body.size());
    packets.push_back(Packet(header, body));

    const std::uint32_t perPacket = shape.BytesPerPacket();
    const std::uint32_t count = shape.PayloadPackets();
    header.mFormat = GvspFormat::Payload;
    for (std::uint32_t id = 1; id <= count; ++id) {
        const std::size_t offset = std::size_t{id - 1} * perPacket;
        const std::size_t size = std::min<std::size_t>(perPacket, image.size() - offset);
        header.mPacketId = id;
        packets.push_back(Packet(header, StreamLab::Bytes(image.begin() + static_cast<std::ptrdiff_t>(offset),
                                                          image.begin() + static_cast<std::ptrdiff_t>(offset + size))));
    }

    header.mFormat = GvspFormat::Trailer;
    header.mPacketId = count + 1;
    body.assign(Gige::ImageTrailerSize, 0);
    Gige::EncodeImageTrailer(Gige::ImageTrailer{Gige::PayloadType::Image, shape.mHeight}, body.data(), body.size());
    packets.push_back(Packet(header, body));
    return packets;
}

TestCamera::TestCamera(Os::Ipv4Address address)
{
    EXPECT_TRUE(mSocket.Open()) << mSocket.LastError();
    // Bound to its adapter, a datagram to the other adapter's address
    // crosses the link instead of the loopback; Windows cannot bind so, but
    // Wine does so by itself for a socket bound to an adapter's address.
    if (Os::UdpSocket::CanBindToDevice()) {
        EXPECT_TRUE(mSocket.BindToDevice(Lab::Right)) << mSocket.LastError();
    }
    EXPECT_TRUE(mSocket.Bind({address, 0})) << mSocket.LastError();
}

void TestCamera::Aim(const FakeHost& host)
{
    mDestination = Os::Endpoint{Os::Ipv4Address(host.Register(ScdaAddress)),
                                static_cast<std::uint16_t>(host.Register(ScpAddress) & 0xFFFF)};
}

void TestCamera::Send(const StreamLab::Bytes& datagram)
{
    ASSERT_NE(mDestination.port, 0) << "the stream's port is not set";
    ASSERT_TRUE(mSocket.SendTo(mDestination, datagram.data(), datagram.size())) << mSocket.LastError();
}

void TestCamera::Send(const std::vector<StreamLab::Bytes>& datagrams)
{
    for (const StreamLab::Bytes& datagram : datagrams) {
        Send(datagram);
    }
}

std::unique_ptr<std::uint8_t[]> NewBuffer(std::size_t size)
{
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[size]);
    std::memset(buffer.get(), Untouched, size);
    return buffer;
}

bool WaitFor(Os::Event& event, std::uint32_t timeoutMs)
{
    Os::Event* events[] = {&event};
    return Os::WaitForAny(events, 1, timeoutMs) == 0;
}

Taken TakeNext(Gige::Stream& stream, Os::Event& event, std::uint32_t timeoutMs)
{
    Taken taken;
    if (WaitFor(event, timeoutMs)) {
        taken.mCode = stream.TakeRecord(&taken.mBuffer);
    }
    return taken;
}

std::uint64_t Info(const Gige::Stream& stream, std::int32_t command)
{
    std::uint64_t value = 0;
    std::size_t size = sizeof value;
    std::int32_t type = 0;
    EXPECT_EQ(stream.GetInfo(command, &type, &value, &size), GC_ERR_SUCCESS) << stream.LastError();
    EXPECT_EQ(type, INFO_DATATYPE_UINT64);
    EXPECT_EQ(size, sizeof value);
    return value;
}

std::string InfoText(const Gige::Stream& stream, std::int32_t command)
{
    std::size_t size = 0;
    EXPECT_EQ(stream.GetInfo(command, nullptr, nullptr, &size), GC_ERR_SUCCESS);
    std::string text(size, '\0');
    std::int32_t type = 0;
    EXPECT_EQ(stream.GetInfo(command, &type, &text[0], &size), GC_ERR_SUCCESS);
    EXPECT_EQ(type, INFO_DATATYPE_STRING);
    text.resize(size > 0 ? size - 1 : 0);
    return text;
}

std::uint64_t WaitForInfo(const Gige::Stream& stream, std::int32_t command, std::uint64_t value,
                          std::uint32_t timeoutMs)
{
    const long long deadline = Os::MonotonicMilliseconds() + timeoutMs;
    std::uint64_t now = Info(stream, command);
    while (now < value && Os::MonotonicMilliseconds() < deadline) {
        Os::SleepMs(5);
        now = Info(stream, command);
    }
    return now;
}

bool RingExpected()
{
    return Os::PacketRing::IsAvailable() && !Lab::Unprivileged();
}

}
