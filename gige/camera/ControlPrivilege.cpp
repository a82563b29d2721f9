#include "ControlPrivilege.h"

namespace GigeCamera {

void ControlPrivilege::Take(const Os::Endpoint& host, bool exclusive, Clock::time_point now)
{
    mController = host;
    mExclusive = exclusive;
    mLastHeard = now;
}

std::optional<Clock::time_point> ControlPrivilege::Deadline(std::chrono::milliseconds timeout,
                                                            bool heartbeatDisabled) const
{
    if (!mController || heartbeatDisabled)
        return std::nullopt;
    return mLastHeard + timeout;
}

}
