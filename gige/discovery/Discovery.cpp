#include "discovery/Discovery.h"

#include "os/System.h"
#include "os/UdpSocket.h"

#include <algorithm>
#include <thread>

namespace Gige {

namespace {

constexpr int Sends = 2;

bool OpenSocket(const HostInterface& iface, Os::UdpSocket& socket)
{
    if (!socket.Open())
        return false;
    if (Os::UdpSocket::CanBindToDevice()) {
        if (!socket.BindToDevice(iface.mAdapter) || !socket.Bind(Os::Endpoint{Os::Ipv4Address::Any(), 0}))
            return false;
    } else if (!socket.Bind(Os::Endpoint{iface.mAddress, 0})) {
        return false;
    }
    return socket.EnableBroadcast();
}

// Takes what arrived; true when an answer was among it.
bool Collect(Os::UdpSocket& socket, const std::uint16_t (&ids)[Sends], int sent, InterfaceAnswers& result)
{
    GvcpBuffer buffer;
    Os::DatagramSlot slot;
    slot.spans[0] = Os::BufferSpan{buffer.data(), buffer.size()};
    slot.spanCount = 1;
    bool answered = false;
    while (socket.ReceiveMany(&slot, 1) > 0) {
        GvcpAck ack{};
        DeviceInfo info;
        if (slot.truncated || DecodeAck(buffer.data(), slot.size, ack) != WireError::None ||
            ack.mHeader.mStatus != 0 || std::find(ids, ids + sent, ack.mHeader.mAckId) == ids + sent ||
            DecodeDiscoveryAck(ack, info) != WireError::None)
            continue;
        result.mAnswers.push_back(std::move(info));
        answered = true;
    }
    return answered;
}

void DiscoverOn(const HostInterface& iface, const DiscoveryTiming& timing, InterfaceAnswers& result)
{
    Os::UdpSocket socket;
    if (!OpenSocket(iface, socket)) {
        result.mError = iface.mName + ": cannot discover: " + socket.LastError();
        return;
    }
    const Os::Endpoint everyone{Os::Ipv4Address::Broadcast(), GvcpPort};
    // Each interface has a socket of its own: its answers come to it alone.
    const std::uint16_t ids[Sends] = {1, 2};
    const long long start = Os::MonotonicMilliseconds();
    const long long end = start + timing.mTotalMs;
    int sent = 0;
    long long lastHeard = start;
    for (;;) {
        const long long now = Os::MonotonicMilliseconds();
        if (sent < Sends && now >= start + sent * static_cast<long long>(timing.mResendMs)) {
            GvcpBuffer command;
            const std::size_t size = EncodeDiscoveryCommand(ids[sent], true, command);
            if (!socket.SendTo(everyone, command.data(), size) && result.mError.empty())
                result.mError = iface.mName + ": cannot discover: " + socket.LastError();
            ++sent;
            lastHeard = now;
            continue;
        }
        // Quiet counts from the last send or answer, once every send is out.
        const long long wake = sent < Sends ? start + sent * static_cast<long long>(timing.mResendMs)
                                            : lastHeard + timing.mQuietMs;
        const long long until = std::min(wake, end);
        if (now >= end || (sent == Sends && now >= until))
            return;
        const Os::WaitResult waited = socket.WaitReadable(static_cast<std::uint32_t>(until - now));
        if (waited == Os::WaitResult::Failed) {
            result.mError = iface.mName + ": cannot discover: " + socket.LastError();
            return;
        }
        if (waited == Os::WaitResult::Ready && Collect(socket, ids, sent, result))
            lastHeard = Os::MonotonicMilliseconds();
    }
}

// Nothing escapes a discovery thread.
void DiscoverGuarded(const HostInterface& iface, const DiscoveryTiming& timing, InterfaceAnswers& result) noexcept
{
    try {
        DiscoverOn(iface, timing, result);
    } catch (const std::exception& error) {
        result.mError = iface.mName + ": cannot discover: " + error.what();
    } catch (...) {
        result.mError = iface.mName + ": cannot discover";
    }
}

}

std::vector<InterfaceAnswers> Discover(const std::vector<HostInterface>& interfaces, const DiscoveryTiming& timing)
{
    std::vector<InterfaceAnswers> results(interfaces.size());
    std::vector<std::thread> threads;
    try {
        // The first interface on the calling thread, the others beside it.
        for (std::size_t i = 1; i < interfaces.size(); ++i)
            threads.emplace_back([&, i] { DiscoverGuarded(interfaces[i], timing, results[i]); });
        if (!interfaces.empty())
            DiscoverGuarded(interfaces[0], timing, results[0]);
    } catch (...) {
        for (std::thread& thread : threads)
            thread.join();
        throw;
    }
    for (std::thread& thread : threads)
        thread.join();
    return results;
}

}
