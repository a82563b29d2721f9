#include "stream/RegisterText.h"

namespace Gige {

namespace {

std::string Hex(std::uint32_t value)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) {
        text += digits[value >> shift & 0xF];
    }
    return text;
}

}

std::string RegisterFailure(const char* what, std::uint32_t address, GC_ERROR code)
{
    return std::string("cannot ") + what + " (" + Hex(address) + "): error " + std::to_string(code);
}

}
