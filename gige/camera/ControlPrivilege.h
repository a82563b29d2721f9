// Who controls the camera: at most one host (address and port) with control
// or exclusive access. It keeps control while its requests keep coming, and
// loses it when none came for the heartbeat timeout (unless the heartbeat is
// disabled).
#pragma once

#include "os/Ipv4Address.h"

#include <chrono>
#include <optional>

namespace GigeCamera {

using Clock = std::chrono::steady_clock;

class ControlPrivilege {
public:
    bool IsHeld() const { return mController.has_value(); }
    bool IsExclusive() const { return IsHeld() && mExclusive; }
    bool IsController(const Os::Endpoint& host) const { return mController && *mController == host; }
    // Only while held.
    const Os::Endpoint& Controller() const { return *mController; }

    void Take(const Os::Endpoint& host, bool exclusive, Clock::time_point now);
    void Release() { mController.reset(); }
    // A request from the controller: its heartbeat.
    void Heard(Clock::time_point now) { mLastHeard = now; }
    // When the controller loses control without another request; none while
    // nobody holds it or the heartbeat is disabled.
    std::optional<Clock::time_point> Deadline(std::chrono::milliseconds timeout, bool heartbeatDisabled) const;

private:
    std::optional<Os::Endpoint> mController;
    bool mExclusive = false;
    Clock::time_point mLastHeard;
};

}
