#include "NumberText.h"

#include <charconv>
#include <cmath>

namespace GenApi {
namespace Detail {

std::string_view Trim(std::string_view text)
{
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && space(text[first])) {
        ++first;
    }
    while (last > first && space(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

bool ParseInt(std::string_view text, int64_t& value)
{
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    uint64_t magnitude = 0;
    std::from_chars_result result{};
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        // Hexadecimal values are bit patterns, so all 64 bits may be used.
        result = std::from_chars(text.data() + 2, text.data() + text.size(), magnitude, 16);
    } else {
        result = std::from_chars(text.data(), text.data() + text.size(), magnitude, 10);
        if (result.ec == std::errc() && magnitude > (negative ? 9223372036854775808ULL : 9223372036854775807ULL)) {
            return false;
        }
    }
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        return false;
    }
    value = static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
    return true;
}

bool ParseFloat(std::string_view text, double& value)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        int64_t integer = 0;
        if (!ParseInt(text, integer)) {
            return false;
        }
        value = static_cast<double>(integer);
        return true;
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

std::string FormatInt(int64_t value) { return std::to_string(value); }

std::string FormatFloat(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace Detail
} // namespace GenApi
