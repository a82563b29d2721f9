// Windows UDP sockets (Winsock 2): opening, binding, options and sending.
#include "os/UdpSocket.h"

#include "os/win32/ErrorText.h"
#include "os/win32/SocketAddress.h"
#include "os/win32/UdpSocketState.h"

#include <algorithm>
#include <climits>
#include <system_error>

namespace Os {

namespace {

bool SetOption(SOCKET socket, int level, int name, int value)
{
    return setsockopt(socket, level, name, reinterpret_cast<const char*>(&value), sizeof value) == 0;
}

// How long a send waits in all for room in the system's buffer: the socket
// is non-blocking (WSAEventSelect makes it so), where a send on Linux blocks.
constexpr ULONGLONG SendRoomWaitMs = 1000;

bool WaitForSendRoom(SOCKET socket, ULONGLONG deadline)
{
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) {
        return false;
    }
    const long left = static_cast<long>(deadline - now);
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(socket, &writable);
    timeval timeout{left / 1000, left % 1000 * 1000};
    return select(0, nullptr, &writable, nullptr, &timeout) == 1;
}

}

UdpSocket::State::~State()
{
    if (socket != INVALID_SOCKET) {
        closesocket(socket);
    }
    if (readable != nullptr) {
        CloseHandle(readable);
    }
    if (winsockStarted) {
        WSACleanup();
    }
}

UdpSocket::UdpSocket() = default;
UdpSocket::~UdpSocket() = default;
UdpSocket::UdpSocket(UdpSocket&& other) noexcept = default;
UdpSocket& UdpSocket::operator=(UdpSocket&& other) noexcept = default;

bool UdpSocket::Fail(const char* what)
{
    const unsigned long error = static_cast<unsigned long>(WSAGetLastError());
    mLastError = std::string(what) + ": " + ErrorText(error);
    return false;
}

bool UdpSocket::Open()
{
    Close();
    std::unique_ptr<State> state;
    try {
        state = std::make_unique<State>();
    } catch (const std::system_error& error) {
        mLastError = std::string("cannot open a UDP socket: ") + error.what();
        return false;
    }
    WSADATA data;
    const int started = WSAStartup(MAKEWORD(2, 2), &data);
    if (started != 0) {
        mLastError = "cannot open a UDP socket: " + ErrorText(static_cast<unsigned long>(started));
        return false;
    }
    state->winsockStarted = true;
    state->socket = WSASocketW(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    if (state->socket == INVALID_SOCKET) {
        return Fail("cannot open a UDP socket");
    }
    // An ICMP "port unreachable" for an earlier send would otherwise fail a
    // later receive with WSAECONNRESET; Linux reports none to such a socket.
    BOOL reportUnreachable = FALSE;
    DWORD returned = 0;
    WSAIoctl(state->socket, SIO_UDP_CONNRESET, &reportUnreachable, sizeof reportUnreachable, nullptr, 0, &returned,
             nullptr, nullptr);

    GUID receiveMessageId = WSAID_WSARECVMSG;
    if (WSAIoctl(state->socket, SIO_GET_EXTENSION_FUNCTION_POINTER, &receiveMessageId, sizeof receiveMessageId,
                 &state->receiveMessage, sizeof state->receiveMessage, &returned, nullptr, nullptr) != 0) {
        return Fail("cannot open a UDP socket: no WSARecvMsg");
    }
    state->readable = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (state->readable == nullptr) {
        mLastError = "cannot open a UDP socket: " + ErrorText(GetLastError());
        return false;
    }
    if (WSAEventSelect(state->socket, state->readable, FD_READ) != 0) {
        return Fail("cannot open a UDP socket");
    }
    mState = std::move(state);
    mLastError.clear();
    return true;
}

void UdpSocket::Close()
{
    mState.reset();
}

bool UdpSocket::Bind(const Endpoint& local)
{
    const std::string what = "cannot bind to " + local.ToString();
    if (!RequireOpen(what)) {
        return false;
    }
    const sockaddr_in address = ToSocketAddress(local);
    if (bind(mState->socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return Fail(what.c_str());
    }
    return true;
}

Endpoint UdpSocket::LocalEndpoint()
{
    sockaddr_in address{};
    int length = sizeof address;
    if (!IsOpen() || getsockname(mState->socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return {};
    }
    return FromSocketAddress(address);
}

bool UdpSocket::CanBindToDevice()
{
    return false;
}

bool UdpSocket::BindToDevice(const std::string& interfaceName)
{
    mLastError = "cannot bind to the adapter \"" + interfaceName +
                 "\": Windows binds to addresses only; bind to the adapter's address or use SetSendInterface";
    return false;
}

bool UdpSocket::EnableBroadcast()
{
    if (!RequireOpen("cannot enable broadcast")) {
        return false;
    }
    return SetOption(mState->socket, SOL_SOCKET, SO_BROADCAST, TRUE) || Fail("cannot enable broadcast");
}

bool UdpSocket::SharePort()
{
    if (!RequireOpen("cannot share the port")) {
        return false;
    }
    return SetOption(mState->socket, SOL_SOCKET, SO_REUSEADDR, TRUE) || Fail("cannot share the port");
}

bool UdpSocket::SetDontFragment(bool on)
{
    const char* what = on ? "cannot set \"don't fragment\"" : "cannot clear \"don't fragment\"";
    if (!RequireOpen(what)) {
        return false;
    }
    return SetOption(mState->socket, IPPROTO_IP, IP_DONTFRAGMENT, on ? TRUE : FALSE) || Fail(what);
}

bool UdpSocket::SetSendInterface(unsigned interfaceIndex)
{
    const std::string what = "cannot send by the adapter " + std::to_string(interfaceIndex);
    if (!RequireOpen(what)) {
        return false;
    }
    // The index in network byte order, as the option wants it for IPv4.
    return SetOption(mState->socket, IPPROTO_IP, IP_UNICAST_IF, static_cast<int>(htonl(interfaceIndex))) ||
           Fail(what.c_str());
}

bool UdpSocket::ReportArrival()
{
    if (!RequireOpen("cannot report where datagrams arrive")) {
        return false;
    }
    if (!SetOption(mState->socket, IPPROTO_IP, IP_PKTINFO, TRUE)) {
        return Fail("cannot report where datagrams arrive");
    }
    mState->reportArrival = true;
    return true;
}

std::size_t UdpSocket::ReceiveBufferSize()
{
    if (!RequireOpen("cannot read the receive buffer size")) {
        return 0;
    }
    int size = 0;
    int length = sizeof size;
    if (getsockopt(mState->socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&size), &length) != 0 || size < 0) {
        Fail("cannot read the receive buffer size");
        return 0;
    }
    return static_cast<std::size_t>(size);
}

std::size_t UdpSocket::SetReceiveBufferSize(std::size_t bytes)
{
    const std::string what = "cannot set a receive buffer of " + std::to_string(bytes) + " bytes";
    if (!RequireOpen(what)) {
        return 0;
    }
    // The same limit as on Linux, where the system books twice the figure in an int.
    const int asked = static_cast<int>(std::min<std::size_t>(bytes, INT_MAX / 2));
    if (!SetOption(mState->socket, SOL_SOCKET, SO_RCVBUF, asked)) {
        Fail(what.c_str());
        return 0;
    }
    return ReceiveBufferSize();
}

bool UdpSocket::SendTo(const Endpoint& to, const ConstBufferSpan* spans, std::size_t count)
{
    const std::string what = "cannot send to " + to.ToString();
    if (!RequireOpen(what)) {
        return false;
    }
    if ((spans == nullptr && count > 0) || count > MaxDatagramSpans) {
        mLastError = what + ": a datagram has up to " + std::to_string(MaxDatagramSpans) + " buffers";
        return false;
    }
    WSABUF buffers[MaxDatagramSpans];
    std::size_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if ((spans[i].data == nullptr && spans[i].size > 0) || spans[i].size > ULONG_MAX) {
            mLastError = what + ": a buffer without memory or beyond 4 GiB";
            return false;
        }
        buffers[i].buf = static_cast<CHAR*>(const_cast<void*>(spans[i].data));
        buffers[i].len = static_cast<ULONG>(spans[i].size);
        total += spans[i].size;
    }
    const sockaddr_in address = ToSocketAddress(to);
    const ULONGLONG deadline = GetTickCount64() + SendRoomWaitMs;
    for (;;) {
        DWORD sent = 0;
        if (WSASendTo(mState->socket, buffers, static_cast<DWORD>(count), &sent, 0,
                      reinterpret_cast<const sockaddr*>(&address), sizeof address, nullptr, nullptr) == 0) {
            if (sent != total) {
                mLastError = what + ": only " + std::to_string(sent) + " of " + std::to_string(total) + " bytes went";
                return false;
            }
            return true;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK) {
            return Fail(what.c_str());
        }
        if (!WaitForSendRoom(mState->socket, deadline)) {
            mLastError = what + ": the system's send buffer stayed full";
            return false;
        }
    }
}

}
