// Numbers from text the way the C library's atoi and atof read them, without
// their faults: an integer out of range saturates instead of being undefined,
// and a floating-point number is read in the C locale's manner whatever
// locale the host process has set.
#pragma once

#include <cstdint>

namespace NumberText {

// Leading blanks, an optional sign, decimal digits; reading stops at the first
// other character; no digits give 0.
std::int64_t ParseInt64(const char* text);
int ParseInt(const char* text);

// What strtod accepts in the C locale: decimal and hexadecimal numbers with
// exponents, infinity and NaN; nothing readable gives 0, a value too large
// gives infinity and one too small 0.
double ParseDouble(const char* text);

// The nearest 32-bit value.
int SaturateToInt(std::int64_t value);

}
