#include "wire/GvspHeader.h"

#include "wire/BigEndian.h"
#include "wire/GvcpStatus.h"

namespace Gige {

namespace {

// Byte 4: the extended-ID bit and the packet format.
constexpr std::uint8_t ExtendedIdBit = 0x80;
constexpr std::uint8_t FormatMask = 0x7F;
constexpr std::uint32_t PacketIdMask = 0x00FFFFFF;

}

WireError DecodeGvspPacket(const std::uint8_t* data, std::size_t size, GvspPacket& packet)
{
    if (size < GvspHeaderSize)
        return WireError::Truncated;
    const bool extended = (data[4] & ExtendedIdBit) != 0;
    const auto format = static_cast<GvspFormat>(data[4] & FormatMask);
    if (!extended) {
        packet = {{Get16(data), false, 0, format, Get16(data + 2), Get32(data + 4) & PacketIdMask},
                  data + GvspHeaderSize, size - GvspHeaderSize};
        return WireError::None;
    }
    if (size < GvspExtendedHeaderSize)
        return WireError::Truncated;
    packet = {{Get16(data), true, Get16(data + 2), format, Get64(data + 8), Get32(data + 16)},
              data + GvspExtendedHeaderSize, size - GvspExtendedHeaderSize};
    return WireError::None;
}

std::size_t EncodeGvspHeader(const GvspHeader& header, std::uint8_t* out, std::size_t capacity)
{
    const auto format = static_cast<std::uint8_t>(header.mFormat);
    if (format > FormatMask)
        return 0;
    if (!header.mExtended) {
        if (capacity < GvspHeaderSize || header.mBlockId > 0xFFFF || header.mPacketId > PacketIdMask ||
            header.mFlags != 0)
            return 0;
        Put16(out, header.mStatus);
        Put16(out + 2, static_cast<std::uint16_t>(header.mBlockId));
        Put32(out + 4, header.mPacketId);
        out[4] = format;
        return GvspHeaderSize;
    }
    if (capacity < GvspExtendedHeaderSize)
        return 0;
    Put16(out, header.mStatus);
    Put16(out + 2, header.mFlags);
    Put32(out + 4, 0);
    out[4] = ExtendedIdBit | format;
    Put64(out + 8, header.mBlockId);
    Put32(out + 16, header.mPacketId);
    return GvspExtendedHeaderSize;
}

bool IsResent(const GvspHeader& header)
{
    return header.mStatus == GvcpStatus::PacketResend || (header.mExtended && (header.mFlags & GvspFlag::Resent) != 0);
}

}
