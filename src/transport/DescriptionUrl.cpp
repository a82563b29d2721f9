#include "transport/DescriptionUrl.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace Kavrix {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}

std::uint32_t ParseUrlHex(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) {
        i += 2;
    }
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0) {
            break;
        }
        value = value * 16 + static_cast<unsigned>(digit);
        if (value > std::numeric_limits<std::uint32_t>::max()) {
            return std::numeric_limits<std::uint32_t>::max();
        }
    }
    return static_cast<std::uint32_t>(value);
}

DescriptionUrl DescriptionUrl::Parse(const std::string& url)
{
    std::string lower = url;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });

    DescriptionUrl result;
    result.zipped = lower.find(".zip") != std::string::npos;
    const std::size_t colon = lower.find(':');
    result.prefix = lower.substr(0, colon);
    if (colon == std::string::npos) {
        return result;
    }
    const std::string rest = lower.substr(colon + 1);
    if (result.prefix == "file") {
        result.fileName = rest;
    } else if (result.prefix == "local") {
        const std::size_t first = rest.find(';');
        result.fileName = rest.substr(0, first);
        if (first != std::string::npos) {
            const std::size_t second = rest.find(';', first + 1);
            result.address = ParseUrlHex(rest.substr(first + 1, second - first - 1));
            if (second != std::string::npos) {
                result.length = ParseUrlHex(rest.substr(second + 1));
            }
        }
    }
    return result;
}

}
