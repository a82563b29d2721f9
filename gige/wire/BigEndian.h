// Fields on the wire are big-endian whatever the machine; these read and
// write them byte by byte, so no alignment or host order is assumed.
#pragma once

#include <cstdint>

namespace Gige {

inline std::uint16_t Get16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

inline std::uint32_t Get32(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

inline std::uint64_t Get64(const std::uint8_t* p)
{
    return std::uint64_t{Get32(p)} << 32 | Get32(p + 4);
}

inline void Put16(std::uint8_t* p, std::uint16_t value)
{
    p[0] = static_cast<std::uint8_t>(value >> 8);
    p[1] = static_cast<std::uint8_t>(value);
}

inline void Put32(std::uint8_t* p, std::uint32_t value)
{
    Put16(p, static_cast<std::uint16_t>(value >> 16));
    Put16(p + 2, static_cast<std::uint16_t>(value));
}

inline void Put64(std::uint8_t* p, std::uint64_t value)
{
    Put32(p, static_cast<std::uint32_t>(value >> 32));
    Put32(p + 4, static_cast<std::uint32_t>(value));
}

}
