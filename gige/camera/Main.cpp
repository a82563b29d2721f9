// kavrix-gige-camera: simulated cameras as GigE Vision cameras on the network
// (HelpText in Options.cpp says what it does).
#include "DiscoveryListener.h"
#include "EventLog.h"
#include "NetworkCamera.h"
#include "Options.h"
#include "Silence.h"
#include "camsim/Setup.h"
#include "os/NetworkInterfaces.h"
#include "os/ProcessSignals.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace GigeCamera;

namespace {

constexpr int ExitServed = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

struct UsageError {
    std::string mText;
};

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
            throw UsageError{error};
    }
    std::vector<ServedDevice> devices;
    for (const CamSim::InterfaceSetup& iface : setup.mInterfaces) {
        for (const CamSim::DeviceSetup& device : iface.mDevices) {
            const CamSim::CameraModel* model = CamSim::FindModel(device.mModel);
            const auto position = static_cast<std::uint32_t>(devices.size());
            devices.push_back({device, model, CamSim::IdentityOf(device, *model, position)});
        }
    }
    if (devices.empty())
        throw UsageError{options.mConfig + ": no [device] to serve"};
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
            throw UsageError{options.mInterface + " has " + item.address.ToString() +
                             ", not a link-local address (169.254.0.0/16); the camera answers broadcasts and "
                             "streams to any host that asks, so it serves other networks only with "
                             "--allow-any-address"};
        const std::uint32_t mask = item.prefixLength == 0 ? 0 : ~std::uint32_t{0} << (32 - item.prefixLength);
        addresses.push_back({item.name, item.address, mask});
        interfaceIndex = item.index;
    }
    if (addresses.empty())
        throw UsageError{"no adapter " + options.mInterface + " with an IPv4 address"};
    if (addresses.size() < count)
        throw UsageError{options.mInterface + " has " + std::to_string(addresses.size()) + " IPv4 addresses for " +
                         std::to_string(count) + " cameras; add one with: ip address add 169.254.X.Y/16 dev " +
                         options.mInterface};
    return addresses;
}

std::vector<Os::Ipv4Address> Broadcasts(const std::vector<ServedAddress>& addresses)
{
    std::vector<Os::Ipv4Address> broadcasts{Os::Ipv4Address::Broadcast()};
    for (const ServedAddress& address : addresses)
        broadcasts.push_back(Os::Ipv4Address(address.mAddress.Value() | ~address.mSubnetMask));
    return broadcasts;
}

// Switches the silence on and off as the options and SIGUSR1 ask, until the
// program is asked to end.
void Serve(Os::ProcessSignals& signals, const FaultOptions& faults, Silence& silence)
{
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto at = [start](double seconds) {
        return start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    };
    std::optional<Clock::time_point> next;
    bool nextOn = true;
    if (faults.mSilenceStart)
        next = at(*faults.mSilenceStart);
    for (;;) {
        std::uint32_t timeout = Os::Infinite;
        if (next) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*next - Clock::now()).count();
            timeout = left <= 0 ? 0 : static_cast<std::uint32_t>(left);
        }
        const Os::ProcessSignal signal = signals.Wait(timeout);
        if (signal == Os::ProcessSignal::End)
            return;
        if (signal == Os::ProcessSignal::User) {
            silence.Set(!silence.IsOn());
            LogEvent(silence.IsOn() ? "silent (SIGUSR1)" : "answering again (SIGUSR1)");
            continue;
        }
        if (!next || Clock::now() < *next)
            continue;
        silence.Set(nextOn);
        LogEvent(nextOn ? "silent (--silence)" : "answering again (--silence)");
        next.reset();
        if (nextOn && faults.mSilenceLength)
            next = at(*faults.mSilenceStart + *faults.mSilenceLength);
        nextOn = false;
    }
}

int Run(const Options& options)
{
    // Before any thread: the threads keep the signals blocked.
    Os::ProcessSignals signals;
    const std::vector<ServedDevice> devices = Devices(options);
    unsigned interfaceIndex = 0;
    const std::vector<ServedAddress> addresses = Addresses(options, devices.size(), interfaceIndex);
    Silence silence;
    std::vector<std::unique_ptr<NetworkCamera>> cameras;
    std::vector<NetworkCamera*> served;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const ServedDevice& device = devices[i];
        cameras.push_back(std::make_unique<NetworkCamera>(*device.mModel, device.mSetup, device.mIdentity,
                                                          addresses[i], options,
                                                          options.mFaults.mSeed + static_cast<std::uint32_t>(i),
                                                          silence));
        served.push_back(cameras.back().get());
    }
    {
        DiscoveryListener discovery(options.mInterface, interfaceIndex, served, Broadcasts(addresses));
        LogEvent("serving " + std::to_string(cameras.size()) + (cameras.size() == 1 ? " camera" : " cameras") +
                 " on " + options.mInterface + " until SIGTERM or SIGINT");
        Serve(signals, options.mFaults, silence);
        LogEvent("ending");
    }
    for (auto& camera : cameras)
        camera->Stop();
    return ExitServed;
}

}

int main(int argc, char** argv)
{
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "kavrix-gige-camera: %s (see --help)\n", error.c_str());
        return ExitUsage;
    }
    if (options.mHelp) {
        std::fputs(HelpText(), stdout);
        return ExitServed;
    }
    try {
        return Run(options);
    } catch (const UsageError& usage) {
        std::fprintf(stderr, "kavrix-gige-camera: %s\n", usage.mText.c_str());
        return ExitUsage;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "kavrix-gige-camera: %s\n", failure.what());
        return ExitFailed;
    }
}
