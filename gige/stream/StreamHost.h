// What a stream receiver needs of its device: register access to the camera
// (to point its stream channel at the receiver and to read the packet size)
// and the addresses between the two. The device's control side implements it.
#pragma once

#include "TLI.h"
#include "os/Ipv4Address.h"

#include <cstdint>
#include <string>

namespace Gige {

class StreamHost {
public:
    virtual ~StreamHost() = default;

    // 4-byte register accesses on the camera; a GC error code.
    virtual GC_ERROR ReadRegister(std::uint32_t address, std::uint32_t& value) = 0;
    virtual GC_ERROR WriteRegister(std::uint32_t address, std::uint32_t value) = 0;

    // The host interface the camera is reached by, and the camera.
    virtual Os::Ipv4Address HostAddress() const = 0;
    // The adapter as the system names it ("eth0").
    virtual const std::string& InterfaceName() const = 0;
    virtual unsigned InterfaceIndex() const = 0;
    virtual unsigned InterfaceMtu() const = 0;
    virtual Os::Ipv4Address CameraAddress() const = 0;
    // The camera stopped answering (its heartbeat was lost).
    virtual bool IsLost() const = 0;
};

}
