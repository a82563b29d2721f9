#include "control/MemoryPlan.h"

namespace Gige {

namespace {

constexpr std::uint64_t AddressSpace = std::uint64_t{1} << 32;

bool Fits(std::uint64_t address, std::size_t size)
{
    return address < AddressSpace && size <= AddressSpace - address;
}

}

std::optional<WordSpan> ReadSpan(std::uint64_t address, std::size_t size)
{
    if (!Fits(address, size))
        return std::nullopt;
    const std::uint64_t start = address & ~std::uint64_t{3};
    const std::uint64_t end = (address + size + 3) & ~std::uint64_t{3};
    return WordSpan{static_cast<std::uint32_t>(start), end - start};
}

WriteCheck CheckWrite(std::uint64_t address, std::size_t size)
{
    if (!Fits(address, size))
        return WriteCheck::Beyond32Bits;
    if (address % 4 != 0 || size % 4 != 0)
        return WriteCheck::Unaligned;
    return WriteCheck::Ok;
}

}
