// Texts handed to the driver's buffers.
#pragma once

#include "common/Status.h"

#include <cstddef>
#include <string>

namespace Gige {

// Copies text with its terminating zero. *size is the buffer size on entry
// and the bytes used (or needed) on return; a null buffer asks for the size
// only; a buffer too small answers GC_ERR_INVALID_BUFFER_SIZE and copies
// nothing.
Status CopyText(const std::string& text, char* buffer, std::size_t* size);

}
