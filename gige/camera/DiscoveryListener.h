// Hears the discovery requests sent by broadcast on the adapter and hands
// them to every camera, which answers from its own address. A socket bound to
// a single address never sees broadcasts: this one is bound to 0.0.0.0, port
// 3956, and tied to the adapter.
#pragma once

#include "NetworkCamera.h"
#include "Silence.h"
#include "os/UdpSocket.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace GigeCamera {

class DiscoveryListener {
public:
    // Raises std::runtime_error with the reason when the port cannot be
    // bound, std::system_error when the thread does not start.
    // broadcasts: the addresses a discovery may be sent to, the limited
    // broadcast and each camera subnet's.
    DiscoveryListener(const std::string& interfaceName, unsigned interfaceIndex, std::vector<NetworkCamera*> cameras,
                      std::vector<Os::Ipv4Address> broadcasts);
    ~DiscoveryListener();
    DiscoveryListener(const DiscoveryListener&) = delete;
    DiscoveryListener& operator=(const DiscoveryListener&) = delete;

private:
    void Run();
    void Handle(const std::uint8_t* data, std::size_t size, const Os::Endpoint& from);

    Os::UdpSocket mSocket;
    unsigned mInterfaceIndex;
    std::vector<NetworkCamera*> mCameras;
    std::vector<Os::Ipv4Address> mBroadcasts;
    std::atomic<bool> mStopping{false};
    std::thread mThread;
};

}
