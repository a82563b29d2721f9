#include "producer/TextOut.h"

#include <cstring>

namespace Gige {

Status CopyText(const std::string& text, char* buffer, std::size_t* size)
{
    if (size == nullptr)
        return Status::Failure(GC_ERR_INVALID_PARAMETER, "no size given");
    const std::size_t needed = text.size() + 1;
    if (buffer == nullptr) {
        *size = needed;
        return Status::Success();
    }
    if (*size < needed) {
        const std::size_t offered = *size;
        *size = needed;
        return Status::Failure(GC_ERR_INVALID_BUFFER_SIZE, "the text needs " + std::to_string(needed) +
                                                               " bytes, the buffer has " + std::to_string(offered));
    }
    std::memcpy(buffer, text.c_str(), needed);
    *size = needed;
    return Status::Success();
}

}
