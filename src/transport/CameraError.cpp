#include "transport/CameraError.h"

namespace Kavrix {

CameraError::CameraError(const std::string& message, std::int32_t code)
    : std::runtime_error(message), mCode(code), mText(message)
{
    // Built once here rather than in what(), so what() can neither fail nor race.
    if (code != 0) {
        mText += " -- TL API error code: " + std::to_string(code) + "(" + GetGCErrorName(code) + ")";
    }
}

const char* CameraError::what() const noexcept
{
    return mText.c_str();
}

const char* GetGCErrorName(std::int32_t code)
{
    static const char* const names[] = {
        "GC_ERR_SUCCESS",
        "GC_ERR_INVALID_BUFFER_SIZE",
        "GC_ERR_INVALID_HANDLE",
        "GC_ERR_INVALID_ID",
        "GC_ERR_ACCESS_DENIED",
        "GC_ERR_NO_DATA",
        "GC_ERR_ERROR",
        "GC_ERR_INVALID_PARAMETER",
        "GC_ERR_TIMEOUT",
        "GC_ERR_INVALID_FILENAME",
        "GC_ERR_INVALID_ADDRESS",
        "GC_ERR_FILE_IO",
    };
    constexpr std::int32_t count = static_cast<std::int32_t>(sizeof(names) / sizeof(names[0]));
    if (code > 0 || code <= -count) {
        return "";
    }
    return names[-code];
}

void CheckGCError(std::int32_t code, const char* message)
{
    if (code != 0) {
        throw CameraError(message, code);
    }
}

}
