// The driver's integer parameters are 32-bit; camera integers are 64-bit.
#pragma once

#include "params/NumberText.h"

#include <cstdint>
#include <limits>

namespace Int32 {

inline bool Fits(std::int64_t value)
{
    return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

// The nearest 32-bit value: a camera maximum of 0xFFFFFFFF must stay a
// large maximum, not become -1.
inline int Saturate(std::int64_t value)
{
    return NumberText::SaturateToInt(value);
}

}
