// One camera served on the network: a model camera on one address of the
// adapter, with its control channel and its stream channel.
#pragma once

#include "CameraCore.h"
#include "ControlServer.h"
#include "Options.h"
#include "Silence.h"
#include "StreamChannel.h"
#include "camsim/Setup.h"
#include "os/Ipv4Address.h"

#include <cstdint>
#include <memory>
#include <string>

namespace GigeCamera {

struct ServedAddress {
    std::string mInterface;
    Os::Ipv4Address mAddress;
    std::uint32_t mSubnetMask;
};

class NetworkCamera {
public:
    // Raises std::runtime_error with the reason when the camera cannot be
    // served (its address and port are taken, or no thread starts).
    NetworkCamera(const CamSim::CameraModel& model, const CamSim::DeviceSetup& setup,
                  const CamSim::DeviceIdentity& identity, const ServedAddress& address, const Options& options,
                  std::uint32_t seed, const Silence& silence);
    ~NetworkCamera();
    NetworkCamera(const NetworkCamera&) = delete;
    NetworkCamera& operator=(const NetworkCamera&) = delete;

    Os::Ipv4Address GetAddress() const { return mAddress; }
    void QueueDiscovery(const Os::Endpoint& host, std::uint16_t requestId, bool allowBroadcastAck);
    // Ends its threads and logs what it sent.
    void Stop();
    // What its stream sent, once stopped.
    const StreamCounts& SentCounts() const { return mSent; }

private:
    std::string mLabel;
    Os::Ipv4Address mAddress;
    CameraCore mCore;
    std::unique_ptr<StreamChannel> mStream;
    std::unique_ptr<ControlServer> mControl;
    StreamCounts mSent;
};

}
