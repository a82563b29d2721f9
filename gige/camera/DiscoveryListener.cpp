#include "DiscoveryListener.h"

#include "EventLog.h"
#include "wire/Discovery.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace GigeCamera {

namespace {

constexpr std::size_t Batch = 16;
constexpr std::size_t SlotBytes = Gige::GvcpMaxDatagram + 4;

}

DiscoveryListener::DiscoveryListener(const std::string& interfaceName, unsigned interfaceIndex,
                                     std::vector<NetworkCamera*> cameras, std::vector<Os::Ipv4Address> broadcasts)
    : mInterfaceIndex(interfaceIndex), mCameras(std::move(cameras)), mBroadcasts(std::move(broadcasts))
{
    // Where a socket cannot be tied to an adapter (Windows), the adapter a
    // datagram came by sorts out the others.
    if (!mSocket.Open() || !mSocket.SharePort() ||
        (Os::UdpSocket::CanBindToDevice() && !mSocket.BindToDevice(interfaceName)) || !mSocket.ReportArrival() ||
        !mSocket.Bind({Os::Ipv4Address::Any(), Gige::GvcpPort}))
        throw std::runtime_error(mSocket.LastError());
    mThread = std::thread([this] { Run(); });
}

DiscoveryListener::~DiscoveryListener()
{
    mStopping = true;
    mSocket.Wake();
    if (mThread.joinable())
        mThread.join();
}

void DiscoveryListener::Run()
{
    std::vector<std::array<std::uint8_t, SlotBytes>> buffers(Batch);
    Os::DatagramSlot slots[Batch];
    for (std::size_t i = 0; i < Batch; ++i) {
        slots[i].spans[0] = {buffers[i].data(), buffers[i].size()};
        slots[i].spanCount = 1;
    }
    while (!mStopping) {
        const Os::WaitResult waited = mSocket.WaitReadable(Os::Infinite);
        if (mStopping)
            break;
        const int received = waited == Os::WaitResult::Ready ? mSocket.ReceiveMany(slots, Batch) : 0;
        if (waited == Os::WaitResult::Failed || received < 0) {
            LogEvent("discovery stops: " + mSocket.LastError());
            break;
        }
        for (int i = 0; i < received; ++i) {
            // The cameras' own sockets take what is sent to their addresses.
            const Os::Arrival& arrival = slots[i].arrival;
            if (!slots[i].truncated && arrival.interfaceIndex == mInterfaceIndex &&
                std::find(mBroadcasts.begin(), mBroadcasts.end(), arrival.destination) != mBroadcasts.end())
                Handle(buffers[i].data(), slots[i].size, slots[i].source);
        }
    }
}

void DiscoveryListener::Handle(const std::uint8_t* data, std::size_t size, const Os::Endpoint& from)
{
    Gige::GvcpCommand command;
    bool allowBroadcastAck = false;
    if (Gige::DecodeCommand(data, size, command) != Gige::WireError::None ||
        Gige::DecodeDiscoveryCommand(command, allowBroadcastAck) != Gige::WireError::None)
        return;
    for (NetworkCamera* camera : mCameras)
        camera->QueueDiscovery(from, command.mHeader.mRequestId, allowBroadcastAck);
}

}
