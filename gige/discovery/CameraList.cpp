#include "discovery/CameraList.h"

#include "common/Texts.h"
#include "discovery/CameraNames.h"

#include <algorithm>
#include <map>

namespace Gige {

namespace {

CameraIdentity IdentityOf(const DeviceInfo& info)
{
    return CameraIdentity{info.mMac, info.mIp};
}

// Each camera once, its last answer.
std::vector<DiscoveredCamera> Distinct(const std::vector<DeviceInfo>& answers)
{
    std::vector<DiscoveredCamera> cameras;
    for (const DeviceInfo& info : answers) {
        const auto same = std::find_if(cameras.begin(), cameras.end(), [&](const DiscoveredCamera& camera) {
            return IdentityOf(camera.mInfo) == IdentityOf(info);
        });
        if (same != cameras.end())
            same->mInfo = info;
        else
            cameras.push_back(DiscoveredCamera{info, {}, {}});
    }
    return cameras;
}

void MarkUnreachable(const HostInterface& iface, std::vector<DiscoveredCamera>& cameras)
{
    std::map<std::uint32_t, std::vector<const DiscoveredCamera*>> byAddress;
    for (const DiscoveredCamera& camera : cameras)
        byAddress[camera.mInfo.mIp].push_back(&camera);
    for (DiscoveredCamera& camera : cameras) {
        const auto& sharing = byAddress[camera.mInfo.mIp];
        if (sharing.size() > 1) {
            std::string macs;
            for (const DiscoveredCamera* other : sharing)
                macs += (macs.empty() ? "" : ", ") + FormatMac(other->mInfo.mMac);
            camera.mUnreachable = FormatIp(camera.mInfo.mIp) + " is claimed by " + std::to_string(sharing.size()) +
                                  " cameras (" + macs + "): an address conflict; give each camera an address of its own";
        } else if (!iface.Contains(camera.Address()) || camera.mInfo.mIp == 0) {
            camera.mUnreachable = FormatIp(camera.mInfo.mIp) + " is not in the subnet of " + iface.mName;
        }
    }
}

}

std::vector<std::vector<DiscoveredCamera>> ListCameras(const std::vector<HostInterface>& interfaces,
                                                       const std::vector<std::vector<DeviceInfo>>& answers)
{
    std::vector<std::vector<DiscoveredCamera>> lists;
    for (std::size_t i = 0; i < interfaces.size() && i < answers.size(); ++i) {
        lists.push_back(Distinct(answers[i]));
        MarkUnreachable(interfaces[i], lists.back());
    }

    // One name per camera, even where two interfaces reach it.
    std::vector<CameraIdentity> identities;
    std::vector<std::string> names;
    for (const auto& list : lists) {
        for (const DiscoveredCamera& camera : list) {
            if (std::find(identities.begin(), identities.end(), IdentityOf(camera.mInfo)) == identities.end()) {
                identities.push_back(IdentityOf(camera.mInfo));
                names.push_back(BaseName(camera.mInfo));
            }
        }
    }
    MakeNamesUnique(names, identities);
    for (auto& list : lists) {
        for (DiscoveredCamera& camera : list)
            camera.mName =
                names[std::find(identities.begin(), identities.end(), IdentityOf(camera.mInfo)) - identities.begin()];
        std::sort(list.begin(), list.end(), [](const DiscoveredCamera& a, const DiscoveredCamera& b) {
            return a.mInfo.mIp != b.mInfo.mIp ? a.mInfo.mIp < b.mInfo.mIp : a.mInfo.mMac < b.mInfo.mMac;
        });
    }
    return lists;
}

}
