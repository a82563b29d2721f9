// How a memory access of the driver becomes control requests. Cameras
// address 32 bits in whole 4-byte words:
// - a read is widened to the words it touches, fetched in pieces of at most
//   MemoryPieceSize bytes, and the bytes asked for are copied out;
// - a write must start and end on word boundaries: writing part of a word
//   would need a read-modify-write, which can change what a register does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace Gige {

// What a READMEM or WRITEMEM carries per request: a datagram of 576 bytes
// holds 536, and 512 keeps the pieces on round addresses.
constexpr std::uint32_t MemoryPieceSize = 512;

struct WordSpan {
    std::uint32_t mStart;   // a multiple of 4
    std::uint64_t mLength;  // a multiple of 4
};

// The words a read touches; nullopt when it reaches past 32 bits.
std::optional<WordSpan> ReadSpan(std::uint64_t address, std::size_t size);

enum class WriteCheck { Ok, Unaligned, Beyond32Bits };
WriteCheck CheckWrite(std::uint64_t address, std::size_t size);

// The next piece of a transfer with remaining bytes left.
inline std::uint32_t PieceSize(std::uint64_t remaining)
{
    return remaining < MemoryPieceSize ? static_cast<std::uint32_t>(remaining) : MemoryPieceSize;
}

}
