// Numbers as the property grid shows them and reads them back from its edit
// box: independent of the process locale, safe for any format an owner gives.
#pragma once

#include <cstdint>
#include <string>

namespace GridNumberText {

// A signed 64-bit decimal number: leading blanks and a sign are allowed,
// reading stops at the first other character, values out of range take the
// nearest end. Text without leading digits reads as 0.
std::int64_t ParseInteger(const std::string& text);

// A decimal floating-point number as the C locale writes it (point as the
// decimal separator, optional exponent), read the same way; values beyond the
// range of a double take the largest finite one, values too small for it 0.
double ParseDouble(const std::string& text);

// Writes the value with a printf-style format holding at most one integer
// conversion (d i u x X o; the length modifiers I64, I32, I, ll, l, h, hh all
// mean the full 64 bits). A format that asks for anything else, or for two
// values, falls back to "%I64d".
std::string FormatInteger(const std::string& format, std::int64_t value);

// The same for one floating-point conversion (f F e E g G a A), written with a
// point as decimal separator; the fall-back is "%g".
std::string FormatDouble(const std::string& format, double value);

}
