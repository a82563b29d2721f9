#include "TextCopy.h"

#include <cstring>

namespace Tli {

GC_ERROR CopyText(const std::string& text, char* buffer, std::size_t* size)
{
    if (size == nullptr)
        return GC_ERR_INVALID_PARAMETER;
    const std::size_t needed = text.size() + 1;
    if (buffer == nullptr) {
        *size = needed;
        return GC_ERR_SUCCESS;
    }
    if (*size < needed) {
        *size = needed;
        return GC_ERR_INVALID_BUFFER_SIZE;
    }
    std::memcpy(buffer, text.c_str(), needed);
    *size = needed;
    return GC_ERR_SUCCESS;
}

}
