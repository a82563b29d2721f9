// The driver's exception: a message and the producer's GC error code (0 when
// the failure is the driver's own).
#pragma once

#include "TLI.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace Kavrix {

class CameraError : public std::runtime_error {
public:
    explicit CameraError(const std::string& message, std::int32_t code = 0);

    // The message, and for a producer failure " -- TL API error code: " with
    // the code and its name in parentheses, followed by the producer's own
    // words for it where the producer tells them (GCGetLastError).
    const char* what() const noexcept override;
    std::int32_t GetCode() const noexcept { return mCode; }

private:
    std::int32_t mCode;
    std::string mText;
};

// The name of a GC error code, or an empty text for a code without one.
const char* GetGCErrorName(std::int32_t code);

// Raises CameraError(message, code) when code is not 0.
void CheckGCError(std::int32_t code, const char* message);

// The loaded producer's GCGetLastError, or null: producer failures then carry
// the producer's words.
using ProducerErrorSource = decltype(&::GCGetLastError);
void SetProducerErrorSource(ProducerErrorSource source);

}
