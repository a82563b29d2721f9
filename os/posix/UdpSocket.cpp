// Linux UDP sockets: opening, binding, options and sending.
#include "os/UdpSocket.h"

#include "os/posix/SocketAddress.h"
#include "os/posix/UdpSocketState.h"

#include <net/if.h>
#include <sys/socket.h>
#include <sys/uio.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <system_error>

namespace Os {

namespace {

bool SetOption(int fd, int level, int name, int value)
{
    return setsockopt(fd, level, name, &value, sizeof value) == 0;
}

}

UdpSocket::UdpSocket() = default;
UdpSocket::~UdpSocket() = default;
UdpSocket::UdpSocket(UdpSocket&& other) noexcept = default;
UdpSocket& UdpSocket::operator=(UdpSocket&& other) noexcept = default;

bool UdpSocket::Fail(const char* what)
{
    const int error = errno;
    mLastError = std::string(what) + ": " + std::generic_category().message(error);
    return false;
}

bool UdpSocket::Open()
{
    Close();
    Descriptor fd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!fd.IsValid()) {
        return Fail("cannot open a UDP socket");
    }
    try {
        mState = std::make_unique<State>();
    } catch (const std::system_error& error) {
        mLastError = std::string("cannot open a UDP socket: ") + error.what();
        return false;
    }
    mState->socket = std::move(fd);
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
    if (bind(mState->socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return Fail(what.c_str());
    }
    return true;
}

Endpoint UdpSocket::LocalEndpoint()
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (!IsOpen() || getsockname(mState->socket.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return {};
    }
    return FromSocketAddress(address);
}

bool UdpSocket::CanBindToDevice()
{
    return true;
}

bool UdpSocket::BindToDevice(const std::string& interfaceName)
{
    const std::string what = "cannot bind to the adapter \"" + interfaceName + "\"";
    if (!RequireOpen(what)) {
        return false;
    }
    if (interfaceName.empty() || interfaceName.size() >= IFNAMSIZ) {
        mLastError = what + ": no such adapter name";
        return false;
    }
    if (setsockopt(mState->socket.Get(), SOL_SOCKET, SO_BINDTODEVICE, interfaceName.c_str(),
                   static_cast<socklen_t>(interfaceName.size())) != 0) {
        return Fail(what.c_str());
    }
    return true;
}

bool UdpSocket::EnableBroadcast()
{
    if (!RequireOpen("cannot enable broadcast")) {
        return false;
    }
    return SetOption(mState->socket.Get(), SOL_SOCKET, SO_BROADCAST, 1) || Fail("cannot enable broadcast");
}

bool UdpSocket::SharePort()
{
    if (!RequireOpen("cannot share the port")) {
        return false;
    }
    return SetOption(mState->socket.Get(), SOL_SOCKET, SO_REUSEADDR, 1) || Fail("cannot share the port");
}

bool UdpSocket::SetDontFragment(bool on)
{
    const char* what = on ? "cannot set \"don't fragment\"" : "cannot clear \"don't fragment\"";
    if (!RequireOpen(what)) {
        return false;
    }
    // DONT, not WANT: WANT fragments a datagram larger than the adapter's MTU
    // but sets the flag on the others.
    return SetOption(mState->socket.Get(), IPPROTO_IP, IP_MTU_DISCOVER, on ? IP_PMTUDISC_DO : IP_PMTUDISC_DONT) ||
           Fail(what);
}

bool UdpSocket::SetSendInterface(unsigned interfaceIndex)
{
    const std::string what = "cannot send by the adapter " + std::to_string(interfaceIndex);
    if (!RequireOpen(what)) {
        return false;
    }
    // The index in network byte order, as on Windows.
    if (!SetOption(mState->socket.Get(), IPPROTO_IP, IP_UNICAST_IF, static_cast<int>(htonl(interfaceIndex)))) {
        return Fail(what.c_str());
    }
    return true;
}

bool UdpSocket::ReportArrival()
{
    if (!RequireOpen("cannot report where datagrams arrive")) {
        return false;
    }
    if (!SetOption(mState->socket.Get(), IPPROTO_IP, IP_PKTINFO, 1)) {
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
    int booked = 0;
    socklen_t length = sizeof booked;
    if (getsockopt(mState->socket.Get(), SOL_SOCKET, SO_RCVBUF, &booked, &length) != 0) {
        Fail("cannot read the receive buffer size");
        return 0;
    }
    return static_cast<std::size_t>(booked) / 2;
}

std::size_t UdpSocket::SetReceiveBufferSize(std::size_t bytes)
{
    const std::string what = "cannot set a receive buffer of " + std::to_string(bytes) + " bytes";
    if (!RequireOpen(what)) {
        return 0;
    }
    // The system books twice the figure in an int.
    const int asked = static_cast<int>(std::min<std::size_t>(bytes, INT_MAX / 2));
    const int fd = mState->socket.Get();
    // Beyond net.core.rmem_max only with CAP_NET_ADMIN; without it the plain
    // option grants what the limit allows.
    if (!SetOption(fd, SOL_SOCKET, SO_RCVBUFFORCE, asked)) {
        if (errno != EPERM || !SetOption(fd, SOL_SOCKET, SO_RCVBUF, asked)) {
            Fail(what.c_str());
            return 0;
        }
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
    iovec vectors[MaxDatagramSpans];
    std::size_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (spans[i].data == nullptr && spans[i].size > 0) {
            mLastError = what + ": a buffer without memory";
            return false;
        }
        vectors[i] = iovec{const_cast<void*>(spans[i].data), spans[i].size};
        total += spans[i].size;
    }
    sockaddr_in address = ToSocketAddress(to);
    msghdr message{};
    message.msg_name = &address;
    message.msg_namelen = sizeof address;
    message.msg_iov = vectors;
    message.msg_iovlen = count;
    ssize_t sent;
    do {
        sent = sendmsg(mState->socket.Get(), &message, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    if (sent < 0) {
        return Fail(what.c_str());
    }
    if (static_cast<std::size_t>(sent) != total) {
        mLastError = what + ": only " + std::to_string(sent) + " of " + std::to_string(total) + " bytes went";
        return false;
    }
    return true;
}

}
