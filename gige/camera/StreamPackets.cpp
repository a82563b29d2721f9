#include "StreamPackets.h"

#include "Options.h"
#include "wire/GvcpStatus.h"
#include "wire/GvspHeader.h"
#include "wire/StreamLayout.h"

#include <algorithm>

namespace GigeCamera {

namespace {

using Gige::GvspFormat;

constexpr std::uint32_t StandardPacketIdMask = 0xFFFFFF;

std::size_t PutHeader(const SentFrame& frame, std::uint64_t blockId, GvspFormat format, std::uint32_t packetId,
                      bool resent, Datagram& out)
{
    Gige::GvspHeader header{};
    header.mExtended = frame.mExtended;
    // Standard headers carry the resend mark in the status, extended ones
    // in a flag.
    header.mStatus = resent && !frame.mExtended ? Gige::GvcpStatus::PacketResend : Gige::GvcpStatus::Success;
    header.mFlags = resent && frame.mExtended ? Gige::GvspFlag::Resent : 0;
    header.mFormat = format;
    header.mBlockId = blockId;
    header.mPacketId = packetId;
    out = Datagram{};
    out.mHeadSize = Gige::EncodeGvspHeader(header, out.mHead.data(), out.mHead.size());
    return out.mHeadSize;
}

// The payload of packet packetId (1 to the frame's payload packets).
void PutPayload(const SentFrame& frame, std::uint32_t packetId, Datagram& out)
{
    const std::uint64_t offset = Gige::PayloadOffset(packetId, frame.mBytesPerPacket);
    out.mPayload = frame.mPixels.data() + offset;
    out.mPayloadSize = static_cast<std::size_t>(
        std::min<std::uint64_t>(frame.mBytesPerPacket, frame.mPixels.size() - offset));
}

// A block id no frame near this one has.
std::uint64_t OtherBlock(const SentFrame& frame)
{
    if (frame.mExtended)
        return frame.mBlockId + (std::uint64_t{1} << 40);
    return (frame.mBlockId - 1 + 0x8000) % 0xFFFF + 1;
}

}

std::size_t Datagram::Spans(Os::ConstBufferSpan (&spans)[Os::MaxDatagramSpans]) const
{
    std::size_t count = 0;
    spans[count++] = {mHead.data(), mHeadSize};
    if (mPayloadSize > 0)
        spans[count++] = {mPayload, mPayloadSize};
    if (mPaddingSize > 0)
        spans[count++] = {mPadding, mPaddingSize};
    return count;
}

bool MakePacket(const SentFrame& frame, std::uint32_t packetId, bool resent, Datagram& out)
{
    const std::uint32_t trailer = frame.mPayloadPackets + 1;
    if (packetId > trailer)
        return false;
    if (packetId == 0) {
        const std::size_t header = PutHeader(frame, frame.mBlockId, GvspFormat::Leader, 0, resent, out);
        out.mHeadSize += Gige::EncodeImageLeader(frame.mLeader, out.mHead.data() + header, out.mHead.size() - header);
    } else if (packetId == trailer) {
        const std::size_t header = PutHeader(frame, frame.mBlockId, GvspFormat::Trailer, packetId, resent, out);
        const Gige::ImageTrailer body{frame.mLeader.mPayloadType, frame.mLeader.mSizeY};
        out.mHeadSize += Gige::EncodeImageTrailer(body, out.mHead.data() + header, out.mHead.size() - header);
    } else {
        PutHeader(frame, frame.mBlockId, GvspFormat::Payload, packetId, resent, out);
        PutPayload(frame, packetId, out);
    }
    return true;
}

void MakeUnavailable(std::uint64_t blockId, bool extended, std::uint32_t packetId, bool rangeError, Datagram& out)
{
    Gige::GvspHeader header{};
    header.mStatus = Gige::GvcpStatus::PacketUnavailable;
    header.mExtended = extended;
    header.mFlags = rangeError && extended ? Gige::GvspFlag::ResendRangeError : 0;
    header.mFormat = GvspFormat::Payload;
    header.mBlockId = blockId;
    header.mPacketId = extended ? packetId : packetId & StandardPacketIdMask;
    out = Datagram{};
    out.mHeadSize = Gige::EncodeGvspHeader(header, out.mHead.data(), out.mHead.size());
}

void MakeMalformed(const SentFrame& frame, std::uint32_t packetId, unsigned kind, const std::uint8_t* zeros,
                   Datagram& out)
{
    const std::uint32_t payloadPacket = std::clamp<std::uint32_t>(packetId, 1, frame.mPayloadPackets);
    switch (kind) {
    case Malformed::Truncated:
        MakePacket(frame, packetId, false, out);
        out.mHeadSize = (frame.mExtended ? Gige::GvspExtendedHeaderSize : Gige::GvspHeaderSize) / 2;
        out.mPayloadSize = 0;
        return;
    case Malformed::Oversized:
        PutHeader(frame, frame.mBlockId, GvspFormat::Payload, payloadPacket, false, out);
        PutPayload(frame, payloadPacket, out);
        out.mPadding = zeros;
        out.mPaddingSize = frame.mBytesPerPacket - out.mPayloadSize + 4;
        return;
    case Malformed::WrongId:
        PutHeader(frame, frame.mBlockId, GvspFormat::Payload, 0, false, out);
        break;
    case Malformed::BeyondFrame: {
        const std::uint64_t beyond = std::uint64_t{frame.mPayloadPackets} + 10;
        PutHeader(frame, frame.mBlockId, GvspFormat::Payload,
                  static_cast<std::uint32_t>(frame.mExtended ? beyond : std::min<std::uint64_t>(beyond, StandardPacketIdMask)),
                  false, out);
        break;
    }
    default:
        PutHeader(frame, OtherBlock(frame), GvspFormat::Payload, payloadPacket, false, out);
        break;
    }
    PutPayload(frame, payloadPacket, out);
}

}
