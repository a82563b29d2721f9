// Linux UDP receiving: recvmmsg over the caller's slots, and the wait.
#include "os/UdpSocket.h"

#include "os/posix/PollWait.h"
#include "os/posix/SocketAddress.h"
#include "os/posix/UdpSocketState.h"

#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace Os {

namespace {

Arrival ArrivalOf(msghdr& header)
{
    Arrival arrival;
    for (cmsghdr* message = CMSG_FIRSTHDR(&header); message != nullptr; message = CMSG_NXTHDR(&header, message)) {
        if (message->cmsg_level == IPPROTO_IP && message->cmsg_type == IP_PKTINFO) {
            in_pktinfo info;
            std::memcpy(&info, CMSG_DATA(message), sizeof info);
            arrival.interfaceIndex = static_cast<unsigned>(info.ipi_ifindex);
            arrival.destination = Ipv4Address(ntohl(info.ipi_addr.s_addr));
        }
    }
    return arrival;
}

}

int UdpSocket::ReceiveMany(DatagramSlot* slots, std::size_t count)
{
    if (!RequireOpen("cannot receive")) {
        return -1;
    }
    if (slots == nullptr && count > 0) {
        mLastError = "cannot receive: no slots";
        return -1;
    }
    State& state = *mState;
    const std::size_t batch = std::min(count, MaxDatagramsPerReceive);
    for (std::size_t i = 0; i < batch; ++i) {
        const DatagramSlot& slot = slots[i];
        if (slot.spanCount > MaxDatagramSpans) {
            mLastError = "cannot receive: slot " + std::to_string(i) + " has more than " +
                         std::to_string(MaxDatagramSpans) + " buffers";
            return -1;
        }
        for (std::size_t span = 0; span < slot.spanCount; ++span) {
            if (slot.spans[span].data == nullptr && slot.spans[span].size > 0) {
                mLastError = "cannot receive: slot " + std::to_string(i) + " has a buffer without memory";
                return -1;
            }
            state.vectors[i][span] = iovec{slot.spans[span].data, slot.spans[span].size};
        }
        msghdr& header = state.messages[i].msg_hdr;
        header.msg_name = &state.sources[i];
        header.msg_namelen = sizeof state.sources[i];
        header.msg_iov = state.vectors[i];
        header.msg_iovlen = slot.spanCount;
        header.msg_control = state.reportArrival ? state.controls[i].bytes : nullptr;
        header.msg_controllen = state.reportArrival ? sizeof state.controls[i].bytes : 0;
        header.msg_flags = 0;
    }
    int received;
    // MSG_TRUNC: the length of a truncated datagram is its full length.
    do {
        received = recvmmsg(state.socket.Get(), state.messages, static_cast<unsigned>(batch), MSG_DONTWAIT | MSG_TRUNC,
                            nullptr);
    } while (received < 0 && errno == EINTR);
    if (received < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            return 0;
        }
        Fail("cannot receive");
        return -1;
    }
    for (int i = 0; i < received; ++i) {
        DatagramSlot& slot = slots[i];
        msghdr& header = state.messages[i].msg_hdr;
        slot.size = state.messages[i].msg_len;
        slot.truncated = (header.msg_flags & MSG_TRUNC) != 0;
        slot.source = FromSocketAddress(state.sources[i]);
        slot.arrival = state.reportArrival ? ArrivalOf(header) : Arrival{};
    }
    return received;
}

WaitResult UdpSocket::WaitReadable(std::uint32_t timeoutMs)
{
    if (!RequireOpen("cannot wait")) {
        return WaitResult::Failed;
    }
    return PollWait(mState->socket.Get(), mState->wake.GetNative(), timeoutMs);
}

void UdpSocket::Wake()
{
    if (mState != nullptr) {
        mState->wake.Set();
    }
}

}
