#include "os/Ipv4Address.h"

namespace Os {

std::optional<Ipv4Address> Ipv4Address::Parse(const std::string& text)
{
    std::uint32_t value = 0;
    std::size_t position = 0;
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0) {
            if (position >= text.size() || text[position] != '.') {
                return std::nullopt;
            }
            ++position;
        }
        const std::size_t start = position;
        unsigned number = 0;
        // Three digits at most: a longer run, leading zeros included, is no octet.
        while (position < text.size() && position - start < 3 && text[position] >= '0' && text[position] <= '9') {
            number = number * 10 + static_cast<unsigned>(text[position] - '0');
            ++position;
        }
        const bool digitFollows = position < text.size() && text[position] >= '0' && text[position] <= '9';
        if (position == start || digitFollows || number > 255) {
            return std::nullopt;
        }
        value = value << 8 | number;
    }
    if (position != text.size()) {
        return std::nullopt;
    }
    return Ipv4Address(value);
}

std::string Ipv4Address::ToString() const
{
    return std::to_string(mValue >> 24) + "." + std::to_string(mValue >> 16 & 0xFF) + "." +
           std::to_string(mValue >> 8 & 0xFF) + "." + std::to_string(mValue & 0xFF);
}

std::string Endpoint::ToString() const
{
    return address.ToString() + ":" + std::to_string(port);
}

}
