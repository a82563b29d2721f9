#include "stream/InfoAnswer.h"

#include <cstring>

namespace Gige {

namespace {

GC_ERROR Answer(const void* bytes, std::size_t needed, std::int32_t dataType, std::int32_t* type, void* buffer,
                std::size_t* size)
{
    if (size == nullptr) {
        return GC_ERR_INVALID_PARAMETER;
    }
    if (type != nullptr) {
        *type = dataType;
    }
    if (buffer == nullptr) {
        *size = needed;
        return GC_ERR_SUCCESS;
    }
    if (*size < needed) {
        *size = needed;
        return GC_ERR_INVALID_BUFFER_SIZE;
    }
    std::memcpy(buffer, bytes, needed);
    *size = needed;
    return GC_ERR_SUCCESS;
}

}

GC_ERROR AnswerNumber(std::uint64_t value, std::int32_t* type, void* buffer, std::size_t* size)
{
    return Answer(&value, sizeof value, INFO_DATATYPE_UINT64, type, buffer, size);
}

GC_ERROR AnswerText(const std::string& text, std::int32_t* type, void* buffer, std::size_t* size)
{
    return Answer(text.c_str(), text.size() + 1, INFO_DATATYPE_STRING, type, buffer, size);
}

}
