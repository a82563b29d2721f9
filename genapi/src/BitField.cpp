#include "BitField.h"

#include <algorithm>

namespace GenApi {
namespace Detail {

namespace {
uint64_t Mask(unsigned width) { return width >= 64 ? ~uint64_t{0} : (uint64_t{1} << width) - 1; }
} // namespace

uint64_t LoadUnsigned(const uint8_t* bytes, std::size_t length, EEndianess endianess)
{
    uint64_t value = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const std::size_t index = endianess == BigEndian ? i : length - 1 - i;
        value = (value << 8) | bytes[index];
    }
    return value;
}

void StoreUnsigned(uint64_t value, uint8_t* bytes, std::size_t length, EEndianess endianess)
{
    for (std::size_t i = 0; i < length; ++i) {
        const std::size_t index = endianess == BigEndian ? length - 1 - i : i;
        bytes[index] = static_cast<uint8_t>(value & 0xFF);
        value >>= 8;
    }
}

bool DescribedRange(int64_t lsb, int64_t msb, std::size_t length, EEndianess endianess, BitRange& range)
{
    const int64_t bits = static_cast<int64_t>(length) * 8;
    if (lsb < 0 || msb < 0 || lsb >= bits || msb >= bits) {
        return false;
    }
    if (endianess == BigEndian) {
        lsb = bits - 1 - lsb;
        msb = bits - 1 - msb;
    }
    // Either order names the same bits; the field's significance follows the register's.
    range.mLow = static_cast<unsigned>(std::min(lsb, msb));
    range.mHigh = static_cast<unsigned>(std::max(lsb, msb));
    return true;
}

int64_t ExtractField(uint64_t raw, BitRange range, bool isSigned)
{
    const unsigned width = range.Width();
    uint64_t field = (raw >> range.mLow) & Mask(width);
    if (isSigned && width < 64 && (field >> (width - 1)) != 0) {
        field |= ~Mask(width);
    }
    return static_cast<int64_t>(field);
}

uint64_t InsertField(uint64_t raw, BitRange range, int64_t value)
{
    const uint64_t mask = Mask(range.Width()) << range.mLow;
    return (raw & ~mask) | ((static_cast<uint64_t>(value) << range.mLow) & mask);
}

int64_t FieldMin(BitRange range, bool isSigned)
{
    const unsigned width = range.Width();
    if (!isSigned) {
        return 0;
    }
    return width >= 64 ? INT64_MIN : -static_cast<int64_t>(uint64_t{1} << (width - 1));
}

int64_t FieldMax(BitRange range, bool isSigned)
{
    const unsigned width = range.Width();
    if (isSigned) {
        return width >= 64 ? INT64_MAX : static_cast<int64_t>((uint64_t{1} << (width - 1)) - 1);
    }
    // An unsigned 64-bit field holds more than a signed 64-bit value can say.
    return width >= 64 ? INT64_MAX : static_cast<int64_t>(Mask(width));
}

} // namespace Detail
} // namespace GenApi
