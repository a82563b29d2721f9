// One opened library handle: its settings, the interfaces it offers and the
// results of its last discovery. Discovery runs on every interface of the
// library at once, the first time any of its interfaces counts its devices;
// each other interface takes its share of that result at its own first
// count, while it is fresh, instead of discovering again.
#pragma once

#include "common/HostInterface.h"
#include "common/Settings.h"
#include "common/Status.h"
#include "discovery/DiscoveredCamera.h"
#include "stream/Stream.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace Gige {

class Library {
public:
    explicit Library(Settings settings);

    const Settings& GetSettings() const { return mSettings; }
    // How the streams of the library's cameras receive: the settings, and
    // the resend budget they all share.
    const StreamOptions& GetStreamOptions() const { return mStreamOptions; }

    // Lists the machine's interfaces anew.
    Status Refresh();
    std::vector<HostInterface> Interfaces() const;
    // By name; lists anew once when the name is not known yet.
    std::optional<HostInterface> FindInterface(const std::string& name);

    // The cameras discovery finds on the interface, and why discovery
    // failed there, if it did. An interface that cannot discover (an adapter
    // without a link, say) lists no camera rather than failing: a host stops
    // walking its interfaces at the first that fails.
    void Discover(const HostInterface& iface, std::vector<DiscoveredCamera>& cameras, std::string& error);

private:
    struct Found {
        std::vector<DiscoveredCamera> mCameras;
        std::string mError;
        long long mAt;
    };

    const Settings mSettings;
    StreamOptions mStreamOptions;
    mutable std::mutex mMutex;
    std::vector<HostInterface> mInterfaces;
    // One discovery at a time; what it found for the interfaces that have
    // not taken it yet.
    std::mutex mDiscovering;
    std::map<std::string, Found> mFound;
};

}
