// Answers of DSGetInfo the GenTL way: with no buffer, the size the answer
// needs; with one too small, GC_ERR_INVALID_BUFFER_SIZE and that size.
#pragma once

#include "TLI.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace Gige {

GC_ERROR AnswerNumber(std::uint64_t value, std::int32_t* type, void* buffer, std::size_t* size);
// With its terminating zero.
GC_ERROR AnswerText(const std::string& text, std::int32_t* type, void* buffer, std::size_t* size);

}
