// Where the receiver's resend requests leave from: the socket the stream
// comes to, aimed at the camera's control port (the camera takes requests
// from its controller's address on any port).
#pragma once

#include <cstddef>
#include <cstdint>

namespace Gige {

class ResendSender {
public:
    // False when the system refused the datagram; the request is then as
    // good as lost on the way, and asked again after its time-out.
    virtual bool SendResend(const std::uint8_t* data, std::size_t size) = 0;

protected:
    ~ResendSender() = default;
};

}
