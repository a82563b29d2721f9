// Who controls the camera: taking and releasing control through the control
// channel privilege register, and losing it when the heartbeat stops.
#include "ControlServer.h"

#include "EventLog.h"
#include "NetworkRegisters.h"
#include "wire/Bootstrap.h"
#include "wire/GvcpStatus.h"

#include <algorithm>

namespace GigeCamera {

namespace {

namespace Bootstrap = Gige::Bootstrap;

// No host keeps up a heartbeat faster than this; a smaller timeout written
// to the camera counts as this one.
constexpr std::uint32_t ShortestHeartbeatMs = 500;

}

std::uint16_t ControlServer::WritePrivilege(std::uint32_t value, const Os::Endpoint& from)
{
    if (mPrivilege.IsHeld() && !mPrivilege.IsController(from)) {
        LogEvent(mSettings.mLabel + ": " + from.ToString() + " refused control: " +
                 mPrivilege.Controller().ToString() + " holds it");
        return Gige::GvcpStatus::AccessDenied;
    }
    const bool exclusive = (value & Bootstrap::CcpExclusive) != 0;
    if (!exclusive && (value & Bootstrap::CcpControl) == 0) {
        if (mPrivilege.IsHeld())
            EndSession(from.ToString() + " released control");
        return Gige::GvcpStatus::Success;
    }
    const bool taking = !mPrivilege.IsHeld();
    const bool changing = !taking && mPrivilege.IsExclusive() != exclusive;
    mPrivilege.Take(from, exclusive, Clock::now());
    WriteRegister(mCore.mModel, Bootstrap::Ccp, exclusive ? Bootstrap::CcpExclusive : Bootstrap::CcpControl);
    if (taking || changing)
        LogEvent(mSettings.mLabel + ": " + from.ToString() + (taking ? " took " : " changed to ") +
                 (exclusive ? "exclusive access" : "control"));
    return Gige::GvcpStatus::Success;
}

void ControlServer::EndSession(const std::string& why)
{
    // Without a controller the camera stops acquiring and closes its stream
    // channel, so that a host that went away leaves no stream behind.
    mPrivilege.Release();
    WriteRegister(mCore.mModel, Bootstrap::Ccp, 0);
    const std::uint32_t scp = ReadRegister(mCore.mModel, Bootstrap::Scp(0));
    WriteRegister(mCore.mModel, Bootstrap::Scp(0), scp & ~Bootstrap::ScpHostPortMask);
    mCore.mModel.StopAcquisition();
    mCore.mStreamWake.notify_all();
    LogEvent(mSettings.mLabel + ": " + why);
}

void ControlServer::CheckHeartbeat()
{
    std::lock_guard<std::mutex> lock(mCore.mMutex);
    if (mPrivilege.IsHeld() && MillisecondsToHeartbeatDeadline() == 0)
        EndSession(mPrivilege.Controller().ToString() + " lost control: no request for " +
                   std::to_string(std::max(ReadRegister(mCore.mModel, Bootstrap::HeartbeatTimeout),
                                           ShortestHeartbeatMs)) +
                   " ms");
}

std::uint32_t ControlServer::MillisecondsToHeartbeatDeadline()
{
    const std::uint32_t timeout = std::max(ReadRegister(mCore.mModel, Bootstrap::HeartbeatTimeout), ShortestHeartbeatMs);
    const bool disabled =
        (ReadRegister(mCore.mModel, Bootstrap::GvcpConfig) & Bootstrap::GvcpConfigHeartbeatDisable) != 0;
    const auto deadline = mPrivilege.Deadline(std::chrono::milliseconds(timeout), disabled);
    if (!deadline)
        return Os::Infinite;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<std::uint32_t>(left);
}

}
