#include "wire/ImageLeader.h"

#include "wire/BigEndian.h"

namespace Gige {

namespace {

WireError CheckPacket(const GvspPacket& packet, GvspFormat format, std::size_t size)
{
    if (packet.mHeader.mFormat != format)
        return WireError::UnexpectedMessage;
    if (packet.mBodySize < size)
        return WireError::Truncated;
    // Both bodies start with reserved16, payload type16.
    const std::uint16_t type = Get16(packet.mBody + 2) & ~PayloadType::ChunksAppended;
    return type == PayloadType::Image ? WireError::None : WireError::NotAnImage;
}

}

WireError DecodeImageLeader(const GvspPacket& packet, ImageLeader& leader)
{
    const WireError error = CheckPacket(packet, GvspFormat::Leader, ImageLeaderSize);
    if (error != WireError::None)
        return error;
    const std::uint8_t* body = packet.mBody;
    leader = {Get16(body + 2),  Get64(body + 4),  Get32(body + 12), Get32(body + 16), Get32(body + 20),
              Get32(body + 24), Get32(body + 28), Get16(body + 32), Get16(body + 34)};
    return WireError::None;
}

WireError DecodeImageTrailer(const GvspPacket& packet, ImageTrailer& trailer)
{
    const WireError error = CheckPacket(packet, GvspFormat::Trailer, ImageTrailerSize);
    if (error == WireError::None)
        trailer = {Get16(packet.mBody + 2), Get32(packet.mBody + 4)};
    return error;
}

std::size_t EncodeImageLeader(const ImageLeader& leader, std::uint8_t* out, std::size_t capacity)
{
    if (capacity < ImageLeaderSize)
        return 0;
    Put16(out, 0);
    Put16(out + 2, leader.mPayloadType);
    Put64(out + 4, leader.mTimestamp);
    Put32(out + 12, leader.mPixelFormat);
    Put32(out + 16, leader.mSizeX);
    Put32(out + 20, leader.mSizeY);
    Put32(out + 24, leader.mOffsetX);
    Put32(out + 28, leader.mOffsetY);
    Put16(out + 32, leader.mPaddingX);
    Put16(out + 34, leader.mPaddingY);
    return ImageLeaderSize;
}

std::size_t EncodeImageTrailer(const ImageTrailer& trailer, std::uint8_t* out, std::size_t capacity)
{
    if (capacity < ImageTrailerSize)
        return 0;
    Put16(out, 0);
    Put16(out + 2, trailer.mPayloadType);
    Put32(out + 4, trailer.mSizeY);
    return ImageTrailerSize;
}

}
