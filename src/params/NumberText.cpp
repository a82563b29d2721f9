#include "params/NumberText.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <system_error>

namespace NumberText {

namespace {

// The C locale's blanks, as isspace knows them there.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c, bool hex)
{
    return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
}

const char* SkipBlanks(const char* text)
{
    while (IsBlank(*text)) {
        ++text;
    }
    return text;
}

// A number that from_chars found out of range: too large when its leading
// digit stands above the units, too small otherwise. Digits count 4 bits
// each in hexadecimal, where the exponent counts bits; the exponents are so
// far from the limits that this estimate decides correctly.
bool IsTooLarge(const char* digits, bool hex)
{
    long long leading = 0;
    bool found = false;
    bool point = false;
    long long position = 0;
    const char* p = digits;
    for (; IsDigit(*p, hex) || (*p == '.' && !point); ++p) {
        if (*p == '.') {
            point = true;
            position = 0;
            continue;
        }
        ++position;
        if (!found && *p != '0') {
            found = true;
            leading = point ? -position : 0;
        }
        if (found && !point) {
            ++leading;
        }
    }
    const bool exponentFollows = hex ? (*p == 'p' || *p == 'P') : (*p == 'e' || *p == 'E');
    // Clamped far inside the range, so the sum below cannot overflow.
    constexpr long long limit = std::numeric_limits<long long>::max() / 8;
    long long exponent = exponentFollows ? ParseInt64(p + 1) : 0;
    exponent = exponent > limit ? limit : (exponent < -limit ? -limit : exponent);
    const long long magnitude = (leading > 0 ? leading - 1 : leading) * (hex ? 4 : 1);
    return magnitude + exponent > 0;
}

double ParseUnsigned(const char* text)
{
    const char* end = text + std::strlen(text);
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    // from_chars reads no sign of its own after "0x", and strtod none at all there.
    if (hex && (text[2] == '+' || text[2] == '-')) {
        return 0.0;
    }
    const char* digits = hex ? text + 2 : text;
    double value = 0.0;
    const std::from_chars_result result =
        std::from_chars(digits, end, value, hex ? std::chars_format::hex : std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        return IsTooLarge(digits, hex) ? std::numeric_limits<double>::infinity() : 0.0;
    }
    // "0x" without hexadecimal digits is the number 0 followed by other text.
    return result.ec == std::errc() ? value : 0.0;
}

}

std::int64_t ParseInt64(const char* text)
{
    if (text == nullptr) {
        return 0;
    }
    const char* p = SkipBlanks(text);
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    // Accumulated towards the sign's side, so that the most negative value fits.
    constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
    std::int64_t value = 0;
    for (; IsDigit(*p, false); ++p) {
        const int digit = *p - '0';
        if (value < (lowest + digit) / 10) {
            value = lowest;
        } else {
            value = value * 10 - digit;
        }
    }
    if (negative) {
        return value;
    }
    return value == lowest ? std::numeric_limits<std::int64_t>::max() : -value;
}

int ParseInt(const char* text)
{
    return SaturateToInt(ParseInt64(text));
}

double ParseDouble(const char* text)
{
    if (text == nullptr) {
        return 0.0;
    }
    const char* p = SkipBlanks(text);
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    if (*p == '-' || *p == '+') {
        return 0.0;
    }
    const double value = ParseUnsigned(p);
    return negative ? -value : value;
}

int SaturateToInt(std::int64_t value)
{
    if (value > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    if (value < std::numeric_limits<int>::min()) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

}
