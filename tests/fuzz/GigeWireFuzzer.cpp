// Arbitrary bytes as a datagram off the network: a control acknowledge the
// producer receives, a command our test camera receives, and a stream
// packet. Every decoder refuses the bytes or describes them without reading
// past them (the sanitizers watch); what it describes encodes to bytes that
// decode to the same description; a payload packet the layout lets into the
// frame buffer lands inside it. A crash or a broken rule is a finding.
#include "wire/Discovery.h"
#include "wire/ForceIp.h"
#include "wire/GvcpHeader.h"
#include "wire/GvspHeader.h"
#include "wire/ImageLeader.h"
#include "wire/MemoryAccess.h"
#include "wire/PacketResend.h"
#include "wire/PendingAck.h"
#include "wire/RegisterAccess.h"
#include "wire/StreamLayout.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using namespace Gige;

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

bool SameInfo(const DeviceInfo& a, const DeviceInfo& b)
{
    return a.mVersion == b.mVersion && a.mDeviceMode == b.mDeviceMode && a.mMac == b.mMac &&
           a.mIpConfigOptions == b.mIpConfigOptions && a.mIpConfigCurrent == b.mIpConfigCurrent && a.mIp == b.mIp &&
           a.mSubnetMask == b.mSubnetMask && a.mGateway == b.mGateway && a.mManufacturer == b.mManufacturer &&
           a.mModel == b.mModel && a.mDeviceVersion == b.mDeviceVersion &&
           a.mManufacturerInfo == b.mManufacturerInfo && a.mSerial == b.mSerial && a.mUserName == b.mUserName;
}

bool SameHeader(const GvspHeader& a, const GvspHeader& b)
{
    return a.mStatus == b.mStatus && a.mExtended == b.mExtended && a.mFlags == b.mFlags && a.mFormat == b.mFormat &&
           a.mBlockId == b.mBlockId && a.mPacketId == b.mPacketId;
}

// The acknowledge's body decoders, each of which checks the code itself.
void CheckAck(const std::uint8_t* data, std::size_t size)
{
    GvcpAck ack{};
    if (DecodeAck(data, size, ack) != WireError::None)
        return;
    Check(ack.mBody == data + GvcpHeaderSize && ack.mHeader.mLength == size - GvcpHeaderSize,
          "the ack's body is not the rest of the datagram");

    const std::size_t count = ack.mHeader.mLength / 4;
    std::array<std::uint32_t, MaxReadRegCount> values{};
    if (count <= values.size() && DecodeReadRegAck(ack, values.data(), count) == WireError::None && count > 0) {
        GvcpBuffer out{};
        Check(EncodeReadRegAck(ack.mHeader.mAckId, values.data(), count, out) == size &&
                  std::memcmp(&out[2], data + 2, size - 2) == 0,
              "READREG ack values do not encode to their bytes");
    }
    MemoryBlock block{};
    if (DecodeReadMemAck(ack, block) == WireError::None)
        Check(block.mData + block.mSize == data + size, "READMEM data is not the rest of the datagram");
    std::uint16_t number = 0;
    DecodeWriteRegAck(ack, number);
    DecodeWriteMemAck(ack, number);
    DecodePendingAck(ack, number);

    DeviceInfo info;
    if (DecodeDiscoveryAck(ack, info) == WireError::None) {
        GvcpBuffer out{};
        const std::size_t sent = EncodeDiscoveryAck(ack.mHeader.mAckId, info, out);
        GvcpAck again{};
        DeviceInfo infoAgain;
        Check(sent == size && DecodeAck(out.data(), sent, again) == WireError::None &&
                  DecodeDiscoveryAck(again, infoAgain) == WireError::None && SameInfo(info, infoAgain),
              "a discovery ack does not encode to the same description");
    }
}

// What our test camera decodes of a command from anywhere on the network.
void CheckCommand(const std::uint8_t* data, std::size_t size)
{
    GvcpCommand command{};
    if (DecodeCommand(data, size, command) != WireError::None)
        return;
    std::vector<std::uint32_t> addresses;
    std::vector<RegisterWrite> writes;
    DecodeReadRegCommand(command, addresses);
    DecodeWriteRegCommand(command, writes);
    Check(addresses.size() * 4 <= size && writes.size() * 8 <= size, "more registers than bytes");
    std::uint32_t address = 0;
    std::size_t count = 0;
    if (DecodeReadMemCommand(command, address, count) == WireError::None)
        Check(IsValidMemoryCount(count), "READMEM passes a count no camera may serve");
    MemoryBlock block{};
    if (DecodeWriteMemCommand(command, block) == WireError::None)
        Check(block.mData + block.mSize == data + size && IsValidMemoryCount(block.mSize),
              "WRITEMEM data is not the rest of a valid datagram");
    PacketResend resend{};
    if (DecodePacketResend(command, resend) == WireError::None) {
        GvcpBuffer out{};
        const std::size_t sent = EncodePacketResend(command.mHeader.mRequestId, resend, out);
        GvcpCommand sentCommand{};
        PacketResend again{};
        Check(sent == size && DecodeCommand(out.data(), sent, sentCommand) == WireError::None &&
                  DecodePacketResend(sentCommand, again) == WireError::None && again.mExtended == resend.mExtended &&
                  again.mChannel == resend.mChannel && again.mBlockId == resend.mBlockId &&
                  again.mFirstPacket == resend.mFirstPacket && again.mLastPacket == resend.mLastPacket,
              "a resend request does not encode to the same request");
    }
    ForceIp force{};
    DecodeForceIpCommand(command, force);
    bool broadcast = false;
    DecodeDiscoveryCommand(command, broadcast);
}

// The receiver's path: header, leader or trailer, payload into the frame.
void CheckStreamPacket(const std::uint8_t* data, std::size_t size)
{
    static std::array<std::uint8_t, 64 * 1024> frame;
    GvspPacket packet{};
    if (DecodeGvspPacket(data, size, packet) != WireError::None)
        return;
    Check(packet.mBody + packet.mBodySize == data + size, "the packet's body is not the rest of the datagram");

    std::array<std::uint8_t, GvspExtendedHeaderSize> header{};
    const std::size_t headerSize = EncodeGvspHeader(packet.mHeader, header.data(), header.size());
    GvspPacket again{};
    Check(headerSize == static_cast<std::size_t>(packet.mBody - data) &&
              DecodeGvspPacket(header.data(), headerSize, again) == WireError::None &&
              SameHeader(packet.mHeader, again.mHeader),
          "a stream header does not encode to the same header");

    ImageLeader leader{};
    if (DecodeImageLeader(packet, leader) == WireError::None) {
        std::array<std::uint8_t, ImageLeaderSize> body{};
        Check(EncodeImageLeader(leader, body.data(), body.size()) == ImageLeaderSize &&
                  std::memcmp(body.data() + 2, packet.mBody + 2, ImageLeaderSize - 2) == 0,
              "an image leader does not encode to its bytes");
    }
    ImageTrailer trailer{};
    if (DecodeImageTrailer(packet, trailer) == WireError::None) {
        std::array<std::uint8_t, ImageTrailerSize> body{};
        Check(EncodeImageTrailer(trailer, body.data(), body.size()) == ImageTrailerSize &&
                  std::memcmp(body.data() + 2, packet.mBody + 2, ImageTrailerSize - 2) == 0,
              "an image trailer does not encode to its bytes");
    }
    const std::uint32_t perPacket = PayloadBytesPerPacket(1400, packet.mHeader.mExtended);
    if (packet.mHeader.mFormat == GvspFormat::Payload &&
        PayloadFits(packet.mHeader.mPacketId, packet.mBodySize, perPacket, frame.size()))
        std::memcpy(frame.data() + PayloadOffset(packet.mHeader.mPacketId, perPacket), packet.mBody, packet.mBodySize);
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckAck(data, size);
    CheckCommand(data, size);
    CheckStreamPacket(data, size);
    return 0;
}
