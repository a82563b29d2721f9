#include "CameraSet.h"

#include "camsim/Setup.h"
#include "os/NetworkInterfaces.h"

namespace GigeCamera {

namespace {

struct ServedDevice {
    CamSim::DeviceSetup mSetup;
    const CamSim::CameraModel* mModel;
    CamSim::DeviceIdentity mIdentity;
};

std::vector<ServedDevice> Devices(const Options& options)
{
    CamSim::Setup setup = CamSim::DefaultSetup();
    if (options.mConfig.empty()) {
        // The simulator's first default camera, the KX-1300.
        setup.mInterfaces.resize(1);
        setup.mInterfaces[0].mDevices.resize(1);
    } else {
        std::string error;
        setup = CamSim::LoadSetup(options.mConfig, error);
        if (!error.empty())
            throw UsageError(error);
    }
    std::vector<ServedDevice> devices;
    for (const CamSim::InterfaceSetup& iface : setup.mInterfaces) {
        for (const CamSim::DeviceSetup& device : iface.mDevices) {
            // The parser accepts known models only.
            const CamSim::CameraModel* model = CamSim::FindModel(device.mModel);
            const auto position = static_cast<std::uint32_t>(devices.size());
            devices.push_back({device, model, CamSim::IdentityOf(device, *model, position)});
        }
    }
    if (devices.empty())
        throw UsageError(options.mConfig + ": no [device] to serve");
    return devices;
}

bool IsLinkLocal(Os::Ipv4Address address)
{
    return address.Value() >> 16 == 0xA9FE;
}

// The adapter's addresses in order, as many as there are cameras.
std::vector<ServedAddress> Addresses(const Options& options, std::size_t count, unsigned& interfaceIndex)
{
    std::vector<ServedAddress> addresses;
    for (const Os::NetworkInterface& item : Os::NetworkInterfaces()) {
        if (item.name != options.mInterface || addresses.size() == count)
            continue;
        if (!IsLinkLocal(item.address) && !options.mAllowAnyAddress)
            throw UsageError(options.mInterface + " has " + item.address.ToString() +
                             ", not a link-local address (169.254.0.0/16); the camera answers broadcasts and "
                             "streams to any host that asks, so it serves other networks only with "
                             "--allow-any-address");
        const std::uint32_t mask = item.prefixLength == 0 ? 0 : ~std::uint32_t{0} << (32 - item.prefixLength);
        addresses.push_back({item.name, item.address, mask});
        interfaceIndex = item.index;
    }
    if (addresses.empty())
        throw UsageError("no adapter " + options.mInterface + " with an IPv4 address");
    if (addresses.size() < count)
        throw UsageError(options.mInterface + " has " + std::to_string(addresses.size()) + " IPv4 addresses for " +
                         std::to_string(count) + " cameras; add one with: ip address add 169.254.X.Y/16 dev " +
                         options.mInterface);
    return addresses;
}

std::vector<Os::Ipv4Address> Broadcasts(const std::vector<ServedAddress>& addresses)
{
    std::vector<Os::Ipv4Address> broadcasts{Os::Ipv4Address::Broadcast()};
    for (const ServedAddress& address : addresses)
        broadcasts.push_back(Os::Ipv4Address(address.mAddress.Value() | ~address.mSubnetMask));
    return broadcasts;
}

}

CameraSet::CameraSet(const Options& options, const Silence& silence)
{
    const std::vector<ServedDevice> devices = Devices(options);
    unsigned interfaceIndex = 0;
    const std::vector<ServedAddress> addresses = Addresses(options, devices.size(), interfaceIndex);
    std::vector<NetworkCamera*> served;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const ServedDevice& device = devices[i];
        // Each camera drops other packets than the others.
        const std::uint32_t seed = options.mFaults.mSeed + static_cast<std::uint32_t>(i);
        mCameras.push_back(std::make_unique<NetworkCamera>(*device.mModel, device.mSetup, device.mIdentity,
                                                           addresses[i], options, seed, silence));
        served.push_back(mCameras.back().get());
    }
    mDiscovery = std::make_unique<DiscoveryListener>(options.mInterface, interfaceIndex, served, Broadcasts(addresses));
}

CameraSet::~CameraSet()
{
    Stop();
}

void CameraSet::Stop()
{
    mDiscovery.reset();
    for (auto& camera : mCameras)
        camera->Stop();
}

}
