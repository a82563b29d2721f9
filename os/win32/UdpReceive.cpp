// Windows UDP receiving: WSARecvMsg per datagram until none waits (Winsock
// has no recvmmsg; only WSARecvMsg gives scatter buffers, the truncation and
// the arrival adapter at once), and the wait on the socket's event.
#include "os/UdpSocket.h"

#include "os/win32/ErrorText.h"
#include "os/win32/SocketAddress.h"
#include "os/win32/UdpSocketState.h"

#include <climits>
#include <cstring>

namespace Os {

namespace {

bool IsDatagramWaiting(SOCKET socket)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    timeval now{0, 0};
    return select(0, &readable, nullptr, nullptr, &now) == 1;
}

Arrival ArrivalOf(WSAMSG& message)
{
    Arrival arrival;
    for (WSACMSGHDR* header = WSA_CMSG_FIRSTHDR(&message); header != nullptr;
         header = WSA_CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
            IN_PKTINFO info;
            std::memcpy(&info, WSA_CMSG_DATA(header), sizeof info);
            arrival.interfaceIndex = info.ipi_ifindex;
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
    const std::size_t batch = count < MaxDatagramsPerReceive ? count : MaxDatagramsPerReceive;
    for (std::size_t i = 0; i < batch; ++i) {
        const DatagramSlot& slot = slots[i];
        if (slot.spanCount > MaxDatagramSpans) {
            mLastError = "cannot receive: slot " + std::to_string(i) + " has more than " +
                         std::to_string(MaxDatagramSpans) + " buffers";
            return -1;
        }
        for (std::size_t span = 0; span < slot.spanCount; ++span) {
            if ((slot.spans[span].data == nullptr && slot.spans[span].size > 0) || slot.spans[span].size > ULONG_MAX) {
                mLastError = "cannot receive: slot " + std::to_string(i) + " has a buffer without memory or beyond 4 GiB";
                return -1;
            }
        }
    }
    int received = 0;
    for (std::size_t i = 0; i < batch; ++i) {
        DatagramSlot& slot = slots[i];
        WSABUF buffers[MaxDatagramSpans];
        std::size_t room = 0;
        for (std::size_t span = 0; span < slot.spanCount; ++span) {
            buffers[span].buf = static_cast<CHAR*>(slot.spans[span].data);
            buffers[span].len = static_cast<ULONG>(slot.spans[span].size);
            room += slot.spans[span].size;
        }
        sockaddr_in source{};
        union {
            WSACMSGHDR header;
            char bytes[WSA_CMSG_SPACE(sizeof(IN_PKTINFO))];
        } control;
        WSAMSG message{};
        message.name = reinterpret_cast<SOCKADDR*>(&source);
        message.namelen = sizeof source;
        message.lpBuffers = buffers;
        message.dwBufferCount = static_cast<DWORD>(slot.spanCount);
        message.Control.buf = state.reportArrival ? control.bytes : nullptr;
        message.Control.len = state.reportArrival ? sizeof control.bytes : 0;
        DWORD bytes = 0;
        bool truncated = false;
        if (state.receiveMessage(state.socket, &message, &bytes, nullptr, nullptr) != 0) {
            const int error = WSAGetLastError();
            if (error == WSAEWOULDBLOCK) {
                break;
            }
            if (error != WSAEMSGSIZE) {
                Fail("cannot receive");
                return received > 0 ? received : -1;
            }
            // Only what fitted is known of a datagram too long for the buffers.
            truncated = true;
            bytes = static_cast<DWORD>(room);
        }
        slot.size = bytes;
        slot.truncated = truncated || (message.dwFlags & MSG_TRUNC) != 0;
        slot.source = FromSocketAddress(source);
        slot.arrival = state.reportArrival ? ArrivalOf(message) : Arrival{};
        ++received;
    }
    return received;
}

WaitResult UdpSocket::WaitReadable(std::uint32_t timeoutMs)
{
    if (!RequireOpen("cannot wait")) {
        return WaitResult::Failed;
    }
    // The wake first: WaitForMultipleObjects reports the lowest index.
    const HANDLE handles[2] = {mState->wake.GetNative(), mState->readable};
    DWORD result = WaitForMultipleObjects(2, handles, FALSE, 0);
    if (result == WAIT_TIMEOUT) {
        // Winsock sets the event once per receive call: a datagram that
        // waited through an earlier Ready, with no receive since, sets it no
        // more. So ask the socket before the wait.
        result = IsDatagramWaiting(mState->socket) ? WAIT_OBJECT_0 + 1
                                                   : WaitForMultipleObjects(2, handles, FALSE, timeoutMs);
    }
    switch (result) {
    case WAIT_OBJECT_0:
        return WaitResult::Woken;
    case WAIT_OBJECT_0 + 1:
        return WaitResult::Ready;
    case WAIT_TIMEOUT:
        return WaitResult::TimedOut;
    default:
        return WaitResult::Failed;
    }
}

void UdpSocket::Wake()
{
    if (mState != nullptr) {
        mState->wake.Set();
    }
}

}
