#include "Lab.h"

#include "os/System.h"

#include <gtest/gtest.h>

namespace Lab {

namespace {

bool IsLabAddress(Os::Ipv4Address address)
{
    return address.Value() >> 24 == 127 || address.Value() >> 16 == 0xA9FE;
}

// Traffic of these tests must stay inside the lab: nothing runs unless every
// address of the machine is a loopback or link-local one and the lab's
// adapters are there, which is only so in a namespace of netns-run.sh.
class LabCheck : public testing::Environment {
public:
    void SetUp() override
    {
        const std::vector<Os::NetworkInterface> interfaces = Os::NetworkInterfaces();
        for (const Os::NetworkInterface& item : interfaces) {
            ASSERT_TRUE(IsLabAddress(item.address))
                << item.name << " has " << item.address.ToString()
                << ": this is not the lab; run the tests through cmake/netns-run.sh";
        }
        ASSERT_NE(IndexOf(Left), 0u) << "no " << Left << ": run the tests through cmake/netns-run.sh";
        ASSERT_NE(IndexOf(Right), 0u) << "no " << Right << ": run the tests through cmake/netns-run.sh";
    }
};

[[maybe_unused]] testing::Environment* const gLabCheck = testing::AddGlobalTestEnvironment(new LabCheck);

}

unsigned IndexOf(const std::string& name)
{
    for (const Os::NetworkInterface& item : Os::NetworkInterfaces()) {
        if (item.name == name) {
            return item.index;
        }
    }
    return 0;
}

Os::UdpSocket Bound(Os::Ipv4Address address, std::uint16_t port)
{
    Os::UdpSocket socket;
    EXPECT_TRUE(socket.Open()) << socket.LastError();
    EXPECT_TRUE(socket.Bind({address, port})) << socket.LastError();
    return socket;
}

std::vector<std::uint8_t> ReceiveOne(Os::UdpSocket& socket, std::uint32_t timeoutMs, Os::Endpoint* source,
                                     Os::Arrival* arrival)
{
    std::vector<std::uint8_t> bytes(65536);
    Os::DatagramSlot slot;
    slot.spans[0] = {bytes.data(), bytes.size()};
    slot.spanCount = 1;
    const long long deadline = Os::MonotonicMilliseconds() + timeoutMs;
    for (;;) {
        const int received = socket.ReceiveMany(&slot, 1);
        EXPECT_GE(received, 0) << socket.LastError();
        if (received == 1) {
            bytes.resize(slot.size);
            if (source != nullptr) {
                *source = slot.source;
            }
            if (arrival != nullptr) {
                *arrival = slot.arrival;
            }
            return bytes;
        }
        const long long left = deadline - Os::MonotonicMilliseconds();
        if (received < 0 || left <= 0 ||
            socket.WaitReadable(static_cast<std::uint32_t>(left)) == Os::WaitResult::TimedOut) {
            return {};
        }
    }
}

bool Unprivileged()
{
    return Os::GetEnvironment("KAVRIX_NET_UNPRIVILEGED").value_or("") == "1";
}

}
