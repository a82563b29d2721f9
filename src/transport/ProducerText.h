// Texts the producer writes into a caller's fixed buffer (names, device
// information): always taken as zero-terminated within the buffer, whatever
// the producer wrote.
#pragma once

#include "transport/CameraError.h"

#include <cstddef>
#include <string>

namespace Kavrix {

constexpr std::size_t ProducerTextSize = 256;

template <typename Call>
std::string ReadProducerText(const char* failureMessage, Call call)
{
    char buffer[ProducerTextSize] = {};
    std::size_t size = sizeof(buffer);
    CheckGCError(call(buffer, &size), failureMessage);
    buffer[sizeof(buffer) - 1] = '\0';
    return buffer;
}

}
