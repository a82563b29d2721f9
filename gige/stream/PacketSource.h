// Where the receiver's stream packets come from: the UDP socket, or the
// kernel's packet ring. A source hands each packet of the camera to the
// frame assembler and sends the assembler's resend requests; the receiver
// thread alone uses it, but for Wake.
#pragma once

#include "os/WaitResult.h"
#include "stream/FrameAssembler.h"
#include "stream/ResendSender.h"

#include <cstdint>
#include <string>

namespace Gige {

class PacketSource : public ResendSender {
public:
    virtual ~PacketSource() = default;

    // Waits until packets wait, the time-out passes (Os::Infinite: no
    // limit) or Wake is called, which wins.
    virtual Os::WaitResult Wait(std::uint32_t timeoutMs) = 0;
    // Hands what has arrived to the assembler, and when it took all there
    // was, moves seen to the time up to which every packet that came has
    // been handed over. False when the system failed, with the reason in
    // LastError.
    virtual bool Receive(FrameAssembler& assembler, long long& seen) = 0;
    // How long a packet may be held by the system before Receive can take it.
    virtual std::uint32_t HoldMs() const = 0;
    virtual void Wake() = 0;
    virtual const std::string& LastError() const = 0;
};

}
