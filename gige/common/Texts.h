// Addresses as the producer writes them in names, information and messages.
#pragma once

#include "wire/Discovery.h"

#include <cstdint>
#include <string>

namespace Gige {

// "00:0F:31:02:8A:1C"
std::string FormatMac(const MacAddress& mac);
// "169.254.100.1", from a number in host order.
std::string FormatIp(std::uint32_t address);
// "0x00000001"
std::string FormatHex32(std::uint32_t value);

}
