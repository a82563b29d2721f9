#include "camsim/Names.h"

#include <cstdio>

namespace CamSim {

namespace {

constexpr std::size_t MaxNameLength = 255;

bool IsPrintable(const std::string& text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return false;
    }
    return true;
}

}

bool IsValidInterfaceName(const std::string& name)
{
    return !name.empty() && name.size() <= MaxNameLength && IsPrintable(name);
}

bool IsValidDeviceName(const std::string& name)
{
    return IsValidInterfaceName(name) && name.find_first_of("[]") == std::string::npos &&
           name.front() != ' ' && name.back() != ' ';
}

std::string FormatIpAddress(std::uint32_t address)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", (address >> 24) & 0xFFu, (address >> 16) & 0xFFu,
                  (address >> 8) & 0xFFu, address & 0xFFu);
    return text;
}

std::string FormatMacAddress(std::uint64_t address)
{
    char text[18];
    std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X",
                  static_cast<unsigned>((address >> 40) & 0xFFu), static_cast<unsigned>((address >> 32) & 0xFFu),
                  static_cast<unsigned>((address >> 24) & 0xFFu), static_cast<unsigned>((address >> 16) & 0xFFu),
                  static_cast<unsigned>((address >> 8) & 0xFFu), static_cast<unsigned>(address & 0xFFu));
    return text;
}

std::optional<std::uint32_t> FindIpAddress(const std::string& interfaceName)
{
    const auto open = interfaceName.find('(');
    if (open == std::string::npos)
        return std::nullopt;
    unsigned parts[4];
    char end = 0;
    if (std::sscanf(interfaceName.c_str() + open + 1, "%3u.%3u.%3u.%3u%c", &parts[0], &parts[1], &parts[2],
                    &parts[3], &end) != 5 ||
        (end != '/' && end != ')'))
        return std::nullopt;
    std::uint32_t address = 0;
    for (const unsigned part : parts) {
        if (part > 255)
            return std::nullopt;
        address = (address << 8) | part;
    }
    return address;
}

}
