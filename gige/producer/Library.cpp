#include "producer/Library.h"

#include "discovery/CameraList.h"
#include "discovery/Discovery.h"
#include "discovery/HostInterfaces.h"
#include "os/System.h"

#include <algorithm>

namespace Gige {

namespace {

// How long one discovery's result serves the interfaces that did not ask
// for it: long enough for a host that walks its interfaces one by one.
constexpr long long FreshMs = 5000;

// The resend budget's burst: a tenth of a second's packets, so that a burst
// of loss is asked for at once while a broken link asks for no more than
// the rate.
constexpr std::uint32_t BudgetBurstDivisor = 10;

}

Library::Library(Settings settings) : mSettings(std::move(settings))
{
    mStreamOptions.mPacketSize = mSettings.mPacketSize;
    mStreamOptions.mPacketDelay = mSettings.mPacketDelay;
    mStreamOptions.mFrameRetentionMs = mSettings.mFrameRetentionMs;
    ResendSettings& resend = mStreamOptions.mResend;
    resend.mEnabled = mSettings.mResendBudget != 0;
    resend.mInitialWaitMs = mSettings.mResendWaitMs;
    resend.mTimeoutMs = mSettings.mResendTimeoutMs;
    resend.mFramePercent = mSettings.mResendFramePercent;
    if (resend.mEnabled) {
        resend.mBudget = std::make_shared<ResendBudget>(
            mSettings.mResendBudget, std::max<std::uint32_t>(1, mSettings.mResendBudget / BudgetBurstDivisor));
    }
}

Status Library::Refresh()
{
    std::vector<HostInterface> interfaces;
    try {
        interfaces = MachineInterfaces(mSettings.mInterfaces);
    } catch (const std::system_error& error) {
        return Status::Failure(GC_ERR_ERROR, std::string("cannot list the network interfaces: ") + error.what());
    }
    const std::lock_guard<std::mutex> guard(mMutex);
    mInterfaces = std::move(interfaces);
    return Status::Success();
}

std::vector<HostInterface> Library::Interfaces() const
{
    const std::lock_guard<std::mutex> guard(mMutex);
    return mInterfaces;
}

std::optional<HostInterface> Library::FindInterface(const std::string& name)
{
    for (int pass = 0; pass < 2; ++pass) {
        for (const HostInterface& iface : Interfaces())
            if (iface.mName == name)
                return iface;
        if (pass == 0 && !Refresh().Ok())
            break;
    }
    return std::nullopt;
}

void Library::Discover(const HostInterface& iface, std::vector<DiscoveredCamera>& cameras, std::string& error)
{
    const std::lock_guard<std::mutex> guard(mDiscovering);
    const auto found = mFound.find(iface.mName);
    if (found != mFound.end()) {
        const bool fresh = Os::MonotonicMilliseconds() - found->second.mAt <= FreshMs;
        if (fresh) {
            cameras = std::move(found->second.mCameras);
            error = std::move(found->second.mError);
        }
        mFound.erase(found);
        if (fresh)
            return;
    }

    std::vector<HostInterface> interfaces = Interfaces();
    const auto own = std::find_if(interfaces.begin(), interfaces.end(),
                                  [&](const HostInterface& other) { return other.mName == iface.mName; });
    const std::size_t ownIndex = static_cast<std::size_t>(own - interfaces.begin());
    if (own == interfaces.end())
        interfaces.push_back(iface);

    DiscoveryTiming timing;
    timing.mTotalMs = mSettings.mDiscoveryMs;
    timing.mQuietMs = std::min(timing.mQuietMs, timing.mTotalMs);
    const std::vector<InterfaceAnswers> answers = Gige::Discover(interfaces, timing);
    std::vector<std::vector<DeviceInfo>> infos;
    for (const InterfaceAnswers& answer : answers)
        infos.push_back(answer.mAnswers);
    std::vector<std::vector<DiscoveredCamera>> lists = ListCameras(interfaces, infos);

    const long long now = Os::MonotonicMilliseconds();
    mFound.clear();
    for (std::size_t i = 0; i < interfaces.size(); ++i)
        if (i != ownIndex)
            mFound[interfaces[i].mName] = Found{std::move(lists[i]), answers[i].mError, now};
    cameras = std::move(lists[ownIndex]);
    error = answers[ownIndex].mError;
}

}
