// Integers in register bytes: byte order, bit fields and sign.
//
// Bit numbers in a description count from the least significant bit of a
// little-endian register and from the most significant bit of a big-endian
// one; BitRange always holds them counted from the least significant bit.
#ifndef GENAPI_DETAIL_BITFIELD_H
#define GENAPI_DETAIL_BITFIELD_H

#include <cstddef>
#include <cstdint>

#include <GenApi/Types.h>

namespace GenApi {
namespace Detail {

uint64_t LoadUnsigned(const uint8_t* bytes, std::size_t length, EEndianess endianess);
void StoreUnsigned(uint64_t value, uint8_t* bytes, std::size_t length, EEndianess endianess);

struct BitRange {
    unsigned mLow = 0;
    unsigned mHigh = 63;
    unsigned Width() const { return mHigh - mLow + 1; }
};

// The range the description's LSB and MSB (or a single Bit, with lsb == msb)
// name in a register of `length` bytes; false when they lie outside it.
bool DescribedRange(int64_t lsb, int64_t msb, std::size_t length, EEndianess endianess, BitRange& range);

int64_t ExtractField(uint64_t raw, BitRange range, bool isSigned);
uint64_t InsertField(uint64_t raw, BitRange range, int64_t value);
int64_t FieldMin(BitRange range, bool isSigned);
int64_t FieldMax(BitRange range, bool isSigned);

} // namespace Detail
} // namespace GenApi

#endif
