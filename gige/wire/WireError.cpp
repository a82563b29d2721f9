#include "wire/WireError.h"

namespace Gige {

const char* WireErrorText(WireError error)
{
    switch (error) {
    case WireError::None:
        return "no error";
    case WireError::Truncated:
        return "the datagram ends inside a header or field";
    case WireError::NotACommand:
        return "a command must start with 0x42";
    case WireError::NotAnAck:
        return "an acknowledge cannot start with 0x42";
    case WireError::LengthMismatch:
        return "the length field disagrees with the datagram";
    case WireError::UnexpectedMessage:
        return "another message than expected";
    case WireError::BadBodySize:
        return "the body has the wrong size for its message";
    case WireError::BadCount:
        return "the byte count is 0, not a multiple of 4, or above 536";
    case WireError::NotAnImage:
        return "the payload is not an image";
    }
    return "unknown error";
}

}
