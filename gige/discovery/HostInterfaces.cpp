#include "discovery/HostInterfaces.h"

#include <algorithm>

namespace Gige {

std::vector<HostInterface> SelectInterfaces(const std::vector<Os::NetworkInterface>& system,
                                            const std::vector<std::string>& only)
{
    std::vector<HostInterface> interfaces;
    for (const Os::NetworkInterface& item : system) {
        if (item.loopback || item.address.IsAny())
            continue;
        if (!only.empty() && std::find(only.begin(), only.end(), item.name) == only.end())
            continue;
        HostInterface iface;
        iface.mName = item.name + " (" + item.address.ToString() + "/" + std::to_string(item.prefixLength) + ")";
        iface.mAdapter = item.name;
        iface.mIndex = item.index;
        iface.mAddress = item.address;
        iface.mPrefixLength = item.prefixLength;
        iface.mMtu = item.mtu;
        if (item.linkSpeed != 0 && !item.virtualAdapter)
            iface.mLinkSpeed = item.linkSpeed;
        interfaces.push_back(std::move(iface));
    }
    return interfaces;
}

std::vector<HostInterface> MachineInterfaces(const std::vector<std::string>& only)
{
    return SelectInterfaces(Os::NetworkInterfaces(), only);
}

}
