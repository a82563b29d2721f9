#include "transport/CameraError.h"

#include <atomic>

namespace Kavrix {

namespace {

std::atomic<ProducerErrorSource> sProducerErrorSource{nullptr};

// The producer's text for this thread's last failure when it was this code.
std::string ProducerWords(std::int32_t code)
{
    const ProducerErrorSource source = sProducerErrorSource.load();
    if (source == nullptr) {
        return std::string();
    }
    std::int32_t last = 0;
    char text[1024] = {};
    std::size_t size = sizeof text;
    if (source(&last, text, &size) != 0 || last != code) {
        return std::string();
    }
    text[sizeof text - 1] = '\0';
    return text;
}

}

void SetProducerErrorSource(ProducerErrorSource source)
{
    sProducerErrorSource = source;
}

CameraError::CameraError(const std::string& message, std::int32_t code)
    : std::runtime_error(message), mCode(code), mText(message)
{
    // Built once here rather than in what(), so what() can neither fail nor race.
    if (code != 0) {
        mText += " -- TL API error code: " + std::to_string(code) + "(" + GetGCErrorName(code) + ")";
        const std::string words = ProducerWords(code);
        if (!words.empty()) {
            mText += ": " + words;
        }
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
    if (code == GC_ERR_INCOMPLETE_FRAME) {
        return "GC_ERR_INCOMPLETE_FRAME";
    }
    if (code == GC_ERR_DEVICE_LOST) {
        return "GC_ERR_DEVICE_LOST";
    }
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
