// The cameras one program serves: one per device of the setup, each on the
// next address of the adapter, and the listener that hands them the
// discovery requests broadcast on it.
#pragma once

#include "DiscoveryListener.h"
#include "NetworkCamera.h"
#include "Options.h"
#include "Silence.h"

#include <memory>
#include <stdexcept>
#include <vector>

namespace GigeCamera {

// What the command line or the configuration asks for cannot be served.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class CameraSet {
public:
    // Raises UsageError for a setup it cannot serve there (a configuration
    // that does not parse, too few addresses, an address that is not
    // link-local), std::runtime_error when a camera cannot start.
    CameraSet(const Options& options, const Silence& silence);
    ~CameraSet();
    CameraSet(const CameraSet&) = delete;
    CameraSet& operator=(const CameraSet&) = delete;

    std::size_t Count() const { return mCameras.size(); }
    // Ends every thread; each camera logs what it sent.
    void Stop();
    // What camera index sent, once stopped.
    const StreamCounts& SentCounts(std::size_t index) const { return mCameras.at(index)->SentCounts(); }

private:
    std::vector<std::unique_ptr<NetworkCamera>> mCameras;
    std::unique_ptr<DiscoveryListener> mDiscovery;
};

}
