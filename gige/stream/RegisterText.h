// How a failed register access of the stream reads in its error text.
#pragma once

#include "TLI.h"

#include <cstdint>
#include <string>

namespace Gige {

// "cannot <what> (0x0D04): error -1010"
std::string RegisterFailure(const char* what, std::uint32_t address, GC_ERROR code);

}
