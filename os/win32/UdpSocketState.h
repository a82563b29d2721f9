// What a Windows UdpSocket holds: the socket, the event Winsock sets when a
// datagram waits (WSAEventSelect), the wake event and WSARecvMsg, which
// Winsock hands out only through an ioctl.
#pragma once

#include "os/Event.h"
#include "os/UdpSocket.h"

#include <winsock2.h>
#include <ws2tcpip.h>
// After the Winsock headers, which it needs.
#include <mswsock.h>

namespace Os {

struct UdpSocket::State {
    State() = default;
    ~State();
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    bool winsockStarted = false;
    SOCKET socket = INVALID_SOCKET;
    // Auto-reset: set by Winsock while a datagram waits, consumed by the wait.
    HANDLE readable = nullptr;
    Event wake{Event::Mode::AutoReset};
    LPFN_WSARECVMSG receiveMessage = nullptr;
    bool reportArrival = false;
};

}
