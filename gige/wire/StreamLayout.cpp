#include "wire/StreamLayout.h"

#include "wire/Bootstrap.h"

namespace Gige {

std::uint32_t PayloadBytesPerPacket(std::uint32_t scps, bool extended)
{
    const std::uint32_t size = scps & Bootstrap::ScpsPacketSizeMask;
    const std::uint32_t overhead = extended ? ExtendedStreamOverhead : StreamOverhead;
    return size > overhead ? size - overhead : 0;
}

std::uint64_t PayloadOffset(std::uint32_t packetId, std::uint32_t bytesPerPacket)
{
    return packetId == 0 ? 0 : std::uint64_t{packetId - 1} * bytesPerPacket;
}

std::uint64_t PayloadPacketCount(std::uint64_t frameBytes, std::uint32_t bytesPerPacket)
{
    return bytesPerPacket == 0 ? 0 : frameBytes / bytesPerPacket + (frameBytes % bytesPerPacket != 0 ? 1 : 0);
}

bool PayloadFits(std::uint32_t packetId, std::size_t bodySize, std::uint32_t bytesPerPacket,
                 std::uint64_t bufferSize)
{
    if (packetId == 0 || bodySize > bytesPerPacket)
        return false;
    const std::uint64_t offset = PayloadOffset(packetId, bytesPerPacket);
    return offset <= bufferSize && bodySize <= bufferSize - offset;
}

}
