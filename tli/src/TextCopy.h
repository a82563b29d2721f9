// How the producer hands texts to its caller.
#pragma once

#include "TLI.h"

#include <cstddef>
#include <string>

namespace Tli {

// Copies text with its terminating zero into the caller's buffer. *size is
// the buffer size on entry and the bytes used (or needed) on return; a null
// buffer asks for the size only; a buffer too small answers
// GC_ERR_INVALID_BUFFER_SIZE and copies nothing.
GC_ERROR CopyText(const std::string& text, char* buffer, std::size_t* size);

}
