#include "ui/GridNumberText.h"

#include <cfloat>
#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>

namespace GridNumberText {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Leading blanks and the sign; returns true for a minus.
bool SkipBlanksAndSign(const std::string& text, std::size_t& at)
{
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    return negative;
}

// A format split around its one conversion, which is rebuilt in a form the C
// library takes on every platform.
struct Conversion {
    std::string before;
    std::string directive; // "%" flags width precision [ll] conversion, or empty for none
    std::string after;
};

// Widths and precisions beyond this make no sense for one number in a row.
constexpr int MaxFieldSize = 99;

bool ReadNumber(const std::string& format, std::size_t& at, int& number)
{
    number = 0;
    while (at < format.size() && IsDigit(format[at])) {
        number = number * 10 + (format[at] - '0');
        if (number > MaxFieldSize) {
            return false;
        }
        ++at;
    }
    return true;
}

std::optional<Conversion> SplitFormat(const std::string& format, bool integer)
{
    Conversion result;
    std::string* literal = &result.before;
    std::size_t at = 0;
    while (at < format.size()) {
        const char c = format[at++];
        if (c != '%') {
            literal->push_back(c);
            continue;
        }
        if (at < format.size() && format[at] == '%') {
            literal->push_back('%');
            ++at;
            continue;
        }
        if (!result.directive.empty()) {
            return std::nullopt;
        }
        std::string directive = "%";
        // The thousands flag would bring in the locale's grouping.
        while (at < format.size() && std::strchr("-+ #0", format[at]) != nullptr) {
            directive.push_back(format[at++]);
        }
        int number = 0;
        const std::size_t widthStart = at;
        if (!ReadNumber(format, at, number)) {
            return std::nullopt;
        }
        directive.append(format, widthStart, at - widthStart);
        if (at < format.size() && format[at] == '.') {
            ++at;
            const std::size_t precisionStart = at;
            if (!ReadNumber(format, at, number)) {
                return std::nullopt;
            }
            directive += "." + format.substr(precisionStart, at - precisionStart);
        }
        if (integer) {
            if (format.compare(at, 3, "I64") == 0 || format.compare(at, 3, "I32") == 0) {
                at += 3;
            } else if (format.compare(at, 2, "ll") == 0 || format.compare(at, 2, "hh") == 0) {
                at += 2;
            } else if (at < format.size() && std::strchr("Ilh", format[at]) != nullptr) {
                ++at;
            }
        } else if (at < format.size() && (format[at] == 'l' || format[at] == 'L')) {
            ++at;
        }
        if (at >= format.size()) {
            return std::nullopt;
        }
        const char conversion = format[at++];
        if (std::strchr(integer ? "diuxXo" : "fFeEgGaA", conversion) == nullptr) {
            return std::nullopt;
        }
        if (integer) {
            directive += "ll";
        }
        directive.push_back(conversion);
        result.directive = directive;
        literal = &result.after;
    }
    return result;
}

template <typename T>
std::string Print(const std::string& directive, T value)
{
    char small[128];
    const int length = std::snprintf(small, sizeof small, directive.c_str(), value);
    if (length < 0) {
        return {};
    }
    if (static_cast<std::size_t>(length) < sizeof small) {
        return std::string(small, static_cast<std::size_t>(length));
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(&text[0], text.size(), directive.c_str(), value);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string FormatIntegerWith(const Conversion& parts, std::int64_t value)
{
    std::string number;
    if (!parts.directive.empty()) {
        const char conversion = parts.directive.back();
        if (conversion == 'd' || conversion == 'i') {
            number = Print(parts.directive, static_cast<long long>(value));
        } else {
            number = Print(parts.directive, static_cast<unsigned long long>(value));
        }
    }
    return parts.before + number + parts.after;
}

std::string FormatDoubleWith(const Conversion& parts, double value)
{
    std::string number;
    if (!parts.directive.empty()) {
        number = Print(parts.directive, value);
        // The C library writes the process locale's decimal separator; the
        // grid always shows (and reads) a point.
        const char* separator = std::localeconv()->decimal_point;
        if (separator != nullptr && std::strcmp(separator, ".") != 0 && separator[0] != '\0') {
            const std::size_t found = number.find(separator);
            if (found != std::string::npos) {
                number.replace(found, std::strlen(separator), ".");
            }
        }
    }
    return parts.before + number + parts.after;
}

}

std::int64_t ParseInteger(const std::string& text)
{
    std::size_t at = 0;
    const bool negative = SkipBlanksAndSign(text, at);
    // Counted in the magnitude of the negative end, which is one larger.
    const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    std::uint64_t magnitude = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        const auto digit = static_cast<std::uint64_t>(text[at] - '0');
        if (magnitude > (limit - digit) / 10) {
            magnitude = limit;
            break;
        }
        magnitude = magnitude * 10 + digit;
    }
    if (!negative) {
        return static_cast<std::int64_t>(magnitude);
    }
    return magnitude == (std::uint64_t{1} << 63) ? std::numeric_limits<std::int64_t>::min()
                                                 : -static_cast<std::int64_t>(magnitude);
}

double ParseDouble(const std::string& text)
{
    std::size_t at = 0;
    const bool negative = SkipBlanksAndSign(text, at);
    const std::size_t start = at;
    // The decimal order of magnitude of the number, to tell an overflow from
    // an underflow when the value does not fit.
    long order = 0;
    bool nonZero = false;
    std::size_t digits = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at, ++digits) {
        nonZero = nonZero || text[at] != '0';
        if (nonZero) {
            ++order;
        }
    }
    if (at < text.size() && text[at] == '.') {
        ++at;
        for (; at < text.size() && IsDigit(text[at]); ++at, ++digits) {
            if (!nonZero) {
                if (text[at] != '0') {
                    nonZero = true;
                } else {
                    --order;
                }
            }
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponentAt = at + 1;
        bool negativeExponent = false;
        if (exponentAt < text.size() && (text[exponentAt] == '+' || text[exponentAt] == '-')) {
            negativeExponent = text[exponentAt] == '-';
            ++exponentAt;
        }
        if (exponentAt < text.size() && IsDigit(text[exponentAt])) {
            long exponent = 0;
            for (; exponentAt < text.size() && IsDigit(text[exponentAt]); ++exponentAt) {
                if (exponent < 100000) {
                    exponent = exponent * 10 + (text[exponentAt] - '0');
                }
            }
            order += negativeExponent ? -exponent : exponent;
            at = exponentAt;
        }
    }
    if (!nonZero) {
        return negative ? -0.0 : 0.0;
    }
    double value = 0.0;
    const char* first = text.data() + start;
    const std::from_chars_result read = std::from_chars(first, text.data() + at, value, std::chars_format::general);
    if (read.ec == std::errc::result_out_of_range) {
        value = order > 0 ? DBL_MAX : 0.0;
    } else if (read.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::string FormatInteger(const std::string& format, std::int64_t value)
{
    const std::optional<Conversion> parts = SplitFormat(format.empty() ? "%I64d" : format, true);
    if (!parts) {
        return FormatIntegerWith(*SplitFormat("%I64d", true), value);
    }
    return FormatIntegerWith(*parts, value);
}

std::string FormatDouble(const std::string& format, double value)
{
    const std::optional<Conversion> parts = SplitFormat(format.empty() ? "%g" : format, false);
    if (!parts) {
        return FormatDoubleWith(*SplitFormat("%g", false), value);
    }
    return FormatDoubleWith(*parts, value);
}

}
