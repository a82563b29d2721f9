// The producer's stream start against our camera: the packet size found
// with test packets on links of MTU 9000 and 1500, and on a link whose
// camera end takes less than the host's adapter.
#include "CameraLab.h"

#include "os/NetworkInterfaces.h"
#include "stream/Stream.h"
#include "wire/Bootstrap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

using namespace CameraLab;
namespace Bootstrap = Gige::Bootstrap;

namespace {

// The producer's view of the device, over the test's control channel; the
// MTU and index as the system tells them now.
class ClientHost : public Gige::StreamHost {
public:
    explicit ClientHost(ControlClient& client) : mClient(client) {}

    GC_ERROR ReadRegister(std::uint32_t address, std::uint32_t& value) override
    {
        return mClient.ReadRegister(address, value) == 0 ? GC_ERR_SUCCESS : GC_ERR_ERROR;
    }
    GC_ERROR WriteRegister(std::uint32_t address, std::uint32_t value) override
    {
        return mClient.WriteRegister(address, value) == 0 ? GC_ERR_SUCCESS : GC_ERR_ERROR;
    }
    Os::Ipv4Address HostAddress() const override { return CameraLab::HostAddress; }
    const std::string& InterfaceName() const override { return HostSide; }
    unsigned InterfaceIndex() const override { return Adapter().index; }
    unsigned InterfaceMtu() const override { return Adapter().mtu; }
    Os::Ipv4Address CameraAddress() const override { return CameraLab::CameraAddress; }
    bool IsLost() const override { return false; }

private:
    static Os::NetworkInterface Adapter()
    {
        for (const Os::NetworkInterface& item : Os::NetworkInterfaces())
            if (item.name == HostSide)
                return item;
        ADD_FAILURE() << HostSide << " is missing";
        return {};
    }

    ControlClient& mClient;
};

void SetMtu(const std::string& adapter, unsigned mtu)
{
    const std::string command = "ip link set dev " + adapter + " mtu " + std::to_string(mtu);
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// The link's MTU of 9000 back for the other tests.
struct LinkRestored {
    ~LinkRestored()
    {
        SetMtu(HostSide, 9000);
        SetMtu(CameraSide, 9000);
    }
};

std::uint64_t PacketSize(const Gige::Stream& stream)
{
    std::uint64_t value = 0;
    std::size_t size = sizeof value;
    EXPECT_EQ(stream.GetInfo(STREAM_INFO_PACKET_SIZE, nullptr, &value, &size), GC_ERR_SUCCESS);
    return value;
}

// Starts a stream with the camera's packet size at own; the size it settles on.
std::uint64_t StartWith(ControlClient& client, std::uint32_t own, const Gige::StreamOptions& options = {})
{
    EXPECT_EQ(client.WriteRegister(Bootstrap::Scps(0), own), 0);
    ClientHost host(client);
    Gige::Stream stream(host, options);
    std::vector<std::uint8_t> memory(4096);
    BUFFER_HANDLE buffer = nullptr;
    EXPECT_EQ(stream.AnnounceBuffer(memory.data(), memory.size(), nullptr, &buffer), GC_ERR_SUCCESS);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(stream.StartAcquisition(~std::uint64_t{0}), GC_ERR_SUCCESS) << stream.LastError();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1)) << "the probes are few and short";
    const std::uint64_t size = PacketSize(stream);
    EXPECT_EQ(client.ReadRegister(Bootstrap::Scps(0)) & Bootstrap::ScpsPacketSizeMask, size) << "the camera's own";
    EXPECT_EQ(stream.StopAcquisition(), GC_ERR_SUCCESS);
    return size;
}

}

TEST(PacketSize, TheLargestTheLinkTakesWholeIsFoundWithTestPackets)
{
    Cameras cameras;
    ControlClient client;
    ASSERT_EQ(client.TakeControl(), 0);
    LinkRestored restore;

    EXPECT_EQ(StartWith(client, 1500), 9000u) << "jumbo frames through";

    SetMtu(HostSide, 1500);
    SetMtu(CameraSide, 1500);
    EXPECT_EQ(StartWith(client, 9000), 1500u) << "a camera left at jumbo frames on a plain link";

    // The host's adapter takes jumbo frames, the path to it does not.
    SetMtu(HostSide, 9000);
    EXPECT_EQ(StartWith(client, 9000), 1500u);
    EXPECT_EQ(StartWith(client, 4000), 1500u) << "its own size cannot pass either";

    Gige::StreamOptions forced;
    forced.mPacketSize = 1200;
    EXPECT_EQ(StartWith(client, 9000, forced), 1200u) << "as the setting says, untested";
}
