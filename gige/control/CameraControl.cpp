#include "control/CameraControl.h"

#include "common/Texts.h"
#include "wire/Bootstrap.h"

namespace Gige {

namespace {

// What a camera that reads 0 in its heartbeat timeout register gets.
constexpr std::uint32_t DefaultHeartbeatTimeoutMs = 3000;

}

CameraControl::CameraControl(const HostInterface& iface, Os::Ipv4Address camera, std::string cameraText,
                             const Settings& settings)
    : mInterface(iface), mCamera(camera), mChannel(settings, std::move(cameraText)), mMemory(mChannel)
{
}

CameraControl::~CameraControl()
{
    Close();
}

Status CameraControl::Open(std::int32_t access, std::function<void()> onLost)
{
    mReadOnly = access == DEVICE_ACCESS_READONLY;
    mOnLost = std::move(onLost);
    Status status = mChannel.Open(mInterface.mAddress, mCamera);
    if (!status.Ok())
        return status;
    if (!mReadOnly) {
        status = TakePrivilege(access == DEVICE_ACCESS_CONTROL ? Bootstrap::CcpControl : Bootstrap::CcpExclusive);
        if (!status.Ok())
            return status;
    }
    std::uint32_t capability = 0;
    std::uint32_t heartbeatTimeout = 0;
    status = mMemory.ReadRegister(Bootstrap::Capability, capability);
    if (status.Ok())
        status = mMemory.ReadRegister(Bootstrap::HeartbeatTimeout, heartbeatTimeout);
    if (!status.Ok())
        return status;
    mMemory.SetWriteMemory((capability & Bootstrap::CapabilityWriteMem) != 0);
    if (!mReadOnly) {
        const std::uint32_t timeout = heartbeatTimeout == 0 ? DefaultHeartbeatTimeoutMs : heartbeatTimeout;
        mHeartbeat = std::make_unique<Heartbeat>(Heartbeat::PeriodFor(timeout), [this] { return Probe(); });
    }
    return Status::Success();
}

Status CameraControl::TakePrivilege(std::uint32_t privilege)
{
    // Read before written: a camera held by another controller is refused
    // at once, whatever the camera would do with a foreign write.
    std::uint32_t current = 0;
    Status status = mMemory.ReadRegister(Bootstrap::Ccp, current);
    if (!status.Ok())
        return status;
    if ((current & (Bootstrap::CcpExclusive | Bootstrap::CcpControl)) != 0)
        return Status::Failure(GC_ERR_ACCESS_DENIED, CameraText() +
                                                         ": another application controls the camera (its "
                                                         "privilege register reads " +
                                                         FormatHex32(current) + ")");
    status = mMemory.WriteRegister(Bootstrap::Ccp, privilege);
    if (!status.Ok()) {
        status.mText += " (the camera did not grant control)";
        return status;
    }
    mHoldsPrivilege = true;
    return status;
}

bool CameraControl::Probe()
{
    std::uint32_t privilege = 0;
    const Status status = mMemory.ReadRegister(Bootstrap::Ccp, privilege, true);
    if (status.Ok() && (privilege & (Bootstrap::CcpExclusive | Bootstrap::CcpControl)) != 0)
        return true;
    if (!status.Ok())
        mChannel.MarkLost("heartbeat lost: " + status.mText);
    else
        mChannel.MarkLost("control lost: the privilege register reads " + FormatHex32(privilege) +
                          ", the camera gave control up");
    if (mOnLost)
        mOnLost();
    return false;
}

void CameraControl::Close() noexcept
{
    try {
        mHeartbeat.reset();
        if (mHoldsPrivilege && !mChannel.IsLost())
            mMemory.WriteRegister(Bootstrap::Ccp, 0);
        mHoldsPrivilege = false;
        mChannel.Close();
    } catch (...) {
    }
}

Status CameraControl::ReadMemory(std::uint64_t address, void* buffer, std::size_t size)
{
    return mMemory.Read(address, buffer, size);
}

Status CameraControl::WriteMemory(std::uint64_t address, const void* buffer, std::size_t size)
{
    if (mReadOnly)
        return Status::Failure(GC_ERR_ACCESS_DENIED, CameraText() + ": opened read-only, no writes");
    return mMemory.Write(address, buffer, size);
}

Status CameraControl::ReadUrl(std::int32_t index, std::string& url)
{
    if (index != 1 && index != 2)
        return Status::Failure(GC_ERR_INVALID_PARAMETER,
                               "URL " + std::to_string(index) + ": a camera has URLs 1 and 2");
    char text[Bootstrap::UrlSize];
    const Status status =
        mMemory.Read(index == 1 ? Bootstrap::FirstUrl : Bootstrap::SecondUrl, text, sizeof text);
    if (!status.Ok())
        return status;
    // NUL-terminated unless it fills its register.
    std::size_t length = 0;
    while (length < sizeof text && text[length] != '\0')
        ++length;
    if (length == 0)
        return Status::Failure(GC_ERR_ERROR, CameraText() + ": the URL register " + std::to_string(index) +
                                                 " is empty: the camera names no description");
    url.assign(text, length);
    return status;
}

GC_ERROR CameraControl::ReadRegister(std::uint32_t address, std::uint32_t& value)
{
    return mMemory.ReadRegister(address, value).mCode;
}

GC_ERROR CameraControl::WriteRegister(std::uint32_t address, std::uint32_t value)
{
    if (mReadOnly)
        return GC_ERR_ACCESS_DENIED;
    return mMemory.WriteRegister(address, value).mCode;
}

}
