// Why a decoder refused a datagram. Decoders never read outside the bytes
// they are given; anything they cannot vouch for comes back as one of these.
#pragma once

namespace Gige {

enum class WireError {
    None,
    Truncated,          // the datagram ends inside a header or a field
    NotACommand,        // a command starts with 0x42
    NotAnAck,           // an acknowledge never does (that datagram is a command)
    LengthMismatch,     // the length field disagrees with the bytes that follow the header
    UnexpectedMessage,  // another command, acknowledge or packet format than the one asked for
    BadBodySize,        // the body's size does not fit its message
    BadCount,           // a memory byte count of 0, not a multiple of 4, or above 536
    NotAnImage          // a leader or trailer of another payload type than an image
};

// A short text for logs, e.g. "the length field disagrees with the datagram".
const char* WireErrorText(WireError error);

}
