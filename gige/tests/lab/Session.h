// A host's way in: a library, the lab's host interface and its cameras,
// closed again at the end of the test.
#pragma once

#include "LabProducer.h"

#include <string>
#include <vector>

namespace Lab {

class Session {
public:
    explicit Session(const std::string& interfaceName = HostInterface);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    TL_HANDLE Library() const { return mLibrary; }
    IF_HANDLE Interface() const { return mInterface; }
    // The cameras, counted at the interface's first use.
    const std::vector<std::string>& Cameras() const { return mCameras; }
    long long DiscoveryMs() const { return mDiscoveryMs; }

    // A device handle, or null with the code in result.
    DEV_HANDLE Open(const std::string& camera, GC_ERROR& result, std::int32_t access = DEVICE_ACCESS_EXCLUSIVE);

private:
    TL_HANDLE mLibrary = nullptr;
    IF_HANDLE mInterface = nullptr;
    std::vector<std::string> mCameras;
    long long mDiscoveryMs = 0;
};

}
