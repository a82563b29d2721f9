// A UDP socket over IPv4 for the GigE Vision control channel, discovery and
// stream receivers.
//
// Receiving never blocks: WaitReadable waits (and another thread can end the
// wait with Wake), ReceiveMany takes what has arrived, many datagrams per
// call, each spread over up to three of the caller's buffers. The caller owns
// and reuses every array, so receiving allocates and copies nothing beyond
// the system's one copy into those buffers.
//
// One thread uses a socket at a time; only Wake may come from any thread
// while the socket is open.
#pragma once

#include "os/Ipv4Address.h"
#include "os/WaitResult.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Os {

struct BufferSpan {
    void* data = nullptr;
    std::size_t size = 0;
};

struct ConstBufferSpan {
    const void* data = nullptr;
    std::size_t size = 0;
};

// A stream packet's header, its payload at its place in the image, and
// scratch for what runs over: three buffers per datagram are enough.
constexpr std::size_t MaxDatagramSpans = 3;
// ReceiveMany takes at most this many datagrams per call.
constexpr std::size_t MaxDatagramsPerReceive = 64;

// Where a datagram came in (only with UdpSocket::ReportArrival on).
struct Arrival {
    unsigned interfaceIndex = 0;   // NetworkInterface::index of the adapter
    Ipv4Address destination;       // as the datagram was addressed: a local or a broadcast address
};

// One datagram's place in a ReceiveMany call.
struct DatagramSlot {
    // Set by the caller: the buffers the datagram fills, in order.
    BufferSpan spans[MaxDatagramSpans];
    std::size_t spanCount = 0;

    // Set by ReceiveMany.
    // The datagram's length. Linux: its full length, also when it was
    // truncated; Windows tells only what fitted, so there a truncated
    // datagram reports the spans' total.
    std::size_t size = 0;
    bool truncated = false;   // longer than the spans: the rest is lost
    Endpoint source;
    Arrival arrival;
};

class UdpSocket {
public:
    UdpSocket();
    // Closes the socket.
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
    UdpSocket(UdpSocket&& other) noexcept;
    UdpSocket& operator=(UdpSocket&& other) noexcept;

    // Every operation that can fail answers false (or -1, or 0 for a size)
    // and leaves the reason, with what was asked, in LastError.
    bool Open();
    void Close();
    bool IsOpen() const { return mState != nullptr; }
    const std::string& LastError() const { return mLastError; }

    // Port 0 lets the system choose; LocalEndpoint then tells the port.
    // Wine binds a socket bound to an adapter's address to that adapter
    // (so it hears broadcasts, as on Windows, but only what arrives by that
    // adapter), and Wine 8 binds to 0.0.0.0 when no adapter has the address.
    bool Bind(const Endpoint& local);
    // The bound address and port; Any:0 when not bound.
    Endpoint LocalEndpoint();
    // Linux: only datagrams of this adapter arrive, and sends leave by it.
    // Windows cannot, and says so: bind to the adapter's address instead.
    bool BindToDevice(const std::string& interfaceName);
    static bool CanBindToDevice();
    bool EnableBroadcast();
    // Before Bind: other sockets may bind the same port on other addresses,
    // as a socket bound to 0.0.0.0 beside ones bound to single addresses
    // (SO_REUSEADDR on both systems; on Windows it also lets a socket take a
    // port in use, so share only between sockets of one program).
    bool SharePort();
    // Datagrams leave with "don't fragment" set, and one larger than the
    // path's MTU is refused at the send (Linux: EMSGSIZE; Windows:
    // WSAEMSGSIZE) instead of leaving in fragments; off: they may be
    // fragmented. Linux: IP_MTU_DISCOVER; Windows: IP_DONTFRAGMENT.
    bool SetDontFragment(bool on);
    // Unicasts and broadcasts leave by this adapter (NetworkInterface::index),
    // whatever the routes say; 0 gives the choice back to the routes. How a
    // socket bound to 0.0.0.0 sends discovery out of each adapter in turn.
    bool SetSendInterface(unsigned interfaceIndex);
    // From now on ReceiveMany fills DatagramSlot::arrival.
    bool ReportArrival();

    // Asks for a receive buffer of this many bytes and answers what the
    // system granted (0 on failure), in the units asked: Linux books twice
    // the figure (the rest covers its own bookkeeping of each datagram) and
    // reports that double, which is halved here, so a granted figure holds
    // about as many bytes of datagrams on both systems. Linux caps the
    // figure at net.core.rmem_max unless the process has CAP_NET_ADMIN,
    // which is then used. Under Wine the figure is always the one asked for,
    // whatever Linux granted: Wine answers from its own record.
    std::size_t SetReceiveBufferSize(std::size_t bytes);
    std::size_t ReceiveBufferSize();

    // One datagram of the spans' bytes in order (at most MaxDatagramSpans);
    // false unless all of it was sent. While the system's send buffer is
    // full a send waits, on Windows for a second at most.
    bool SendTo(const Endpoint& to, const ConstBufferSpan* spans, std::size_t count);
    bool SendTo(const Endpoint& to, const void* data, std::size_t size)
    {
        const ConstBufferSpan span{data, size};
        return SendTo(to, &span, 1);
    }

    // Takes the datagrams that have arrived, up to count (and at most
    // MaxDatagramsPerReceive), without waiting: the number received, 0 when
    // none was waiting, -1 on failure. Linux: one recvmmsg call. Windows:
    // one WSARecvMsg per datagram until none is waiting (the only call that
    // gives scatter buffers, the truncation and the arrival adapter at once).
    int ReceiveMany(DatagramSlot* slots, std::size_t count);
    // Waits until a datagram waits, the time-out passes (Os::Infinite waits
    // without limit) or Wake is called; a pending Wake wins over data, so a
    // busy stream cannot keep its receiver from stopping. Ready may
    // occasionally be followed by a ReceiveMany that finds nothing. Windows
    // ends a time-out on its timer tick (15.6 ms unless a program of the
    // machine asked for finer ones).
    WaitResult WaitReadable(std::uint32_t timeoutMs);
    // Ends the current or the next WaitReadable with Woken; wakes before
    // that wait count once.
    void Wake();

private:
    struct State;
    // Leave "<what>: <the system's reason>" in LastError and answer false;
    // what is no std::string, whose making could change the reason first.
    bool Fail(const char* what);
    bool RequireOpen(const std::string& what);

    std::unique_ptr<State> mState;
    std::string mLastError;
};

}
