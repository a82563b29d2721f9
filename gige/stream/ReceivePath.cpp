#include "stream/ReceivePath.h"

#include "os/PacketRing.h"
#include "os/System.h"
#include "os/UdpSocket.h"
#include "stream/RingPacketSource.h"
#include "stream/UdpPacketSource.h"

#include <algorithm>

namespace Gige {

namespace {

// Blocks of the ring hold many packets each; enough of them for four
// frames, and 32 MiB at the least (as much as Aravis takes): the ring is
// all a stalled receiver has.
constexpr std::size_t RingBlockSize = std::size_t{1} << 20;
constexpr std::size_t MinRingBlocks = 32;
constexpr std::size_t MaxRingBlocks = 256;
// A block that is not full is handed over after this: the latency of a
// frame's last packets.
constexpr std::uint32_t RingBlockTimeoutMs = 2;
// Small frames come in bursts of several.
constexpr std::size_t MinReceiveBuffer = std::size_t{4} << 20;
// The UDP receiver's nap between small batches while a frame comes; the
// receive buffer must hold many naps' worth: 4 MiB hold 3 ms of 10 Gbit/s.
constexpr std::uint32_t NapMs = 1;
constexpr std::size_t NapBuffer = std::size_t{4} << 20;

std::uint32_t Nap(std::size_t granted)
{
#if defined(_WIN32)
    // Windows' sleeps end on its timer tick (15.6 ms unless a program asked
    // for finer ones), and Wine tells not what was granted; each datagram
    // is a call of its own there anyway.
    (void)granted;
    return 0;
#else
    return granted >= NapBuffer ? NapMs : 0;
#endif
}

std::string Mebibytes(std::uint64_t bytes)
{
    return std::to_string((bytes + (1u << 19)) >> 20) + " MiB";
}

std::string BufferAdvice(std::size_t asked)
{
#if defined(_WIN32)
    (void)asked;
    return "raise the receive buffers of the network adapter and Winsock's limit for sockets "
           "(registry: HKLM\\SYSTEM\\CurrentControlSet\\Services\\AFD\\Parameters)";
#else
    return "raise net.core.rmem_max to at least " + std::to_string(asked) + " (sysctl -w net.core.rmem_max=" +
           std::to_string(asked) + "), or give the process CAP_NET_ADMIN, or CAP_NET_RAW for the packet ring";
#endif
}

bool OpenRing(const ReceiveRequest& request, Os::UdpSocket& socket, std::uint16_t port, ReceivePath& path,
              std::string& refusal)
{
    Os::PacketRingOptions options;
    options.interfaceName = request.mInterfaceName;
    options.source = request.mCamera;
    options.destinationPort = port;
    options.blockSize = RingBlockSize;
    // Each packet takes its header and the ring's own besides its payload.
    options.blockCount =
        std::clamp<std::size_t>(request.mLargestBuffer * 4 * 9 / 8 / RingBlockSize + 1, MinRingBlocks, MaxRingBlocks);
    options.blockTimeoutMs = RingBlockTimeoutMs;
    Os::PacketRing ring;
    if (!ring.Open(options)) {
        refusal = ring.LastError();
        return false;
    }
    // Every datagram reaches the socket too: its buffer is the smallest
    // there is, and what overflows it is dropped by the system unread.
    socket.SetReceiveBufferSize(1);
    path.mReceiveBuffer = std::uint64_t{options.blockSize} * options.blockCount;
    path.mDescription = "packet ring on " + request.mInterfaceName + " (" + Mebibytes(path.mReceiveBuffer) +
                        ") for " + request.mCamera.ToString() + " to " + Os::Endpoint{request.mHost, port}.ToString();
    path.mSource =
        std::make_unique<RingPacketSource>(std::move(ring), std::move(socket), request.mCamera);
    return true;
}

}

bool OpenReceivePath(const ReceiveRequest& request, ReceivePath& path, std::string& error)
{
    Os::UdpSocket socket;
    if (!socket.Open() || !socket.Bind({request.mHost, 0})) {
        error = "cannot receive the stream on " + request.mHost.ToString() + ": " + socket.LastError();
        return false;
    }
    const std::uint16_t port = socket.LocalEndpoint().port;
    path = ReceivePath();
    path.mPort = port;
    std::string ringRefusal;
    if (request.mAllowPacketRing && Os::PacketRing::IsAvailable() &&
        OpenRing(request, socket, port, path, ringRefusal)) {
        return true;
    }

    const std::size_t asked = std::max(request.mLargestBuffer * 2, MinReceiveBuffer);
    std::size_t granted = socket.SetReceiveBufferSize(asked);
    const std::string sizeFailure = granted == 0 ? socket.LastError() : std::string();
    if (granted == 0) {
        granted = socket.ReceiveBufferSize();
    }
    path.mReceiveBuffer = granted;
    path.mDescription = "UDP socket " + Os::Endpoint{request.mHost, port}.ToString() + ", batched receive; ";
    if (Os::RunsUnderWine()) {
        path.mDescription += "receive buffer of " + std::to_string(asked) +
                             " bytes asked (Wine does not tell what Linux granted: at most net.core.rmem_max)";
    } else {
        path.mDescription += "receive buffer of " + std::to_string(granted) + " bytes granted (" +
                             std::to_string(asked) + " asked)";
    }
    if (!sizeFailure.empty()) {
        path.mDescription += " (" + sizeFailure + ")";
    }
    if (!ringRefusal.empty()) {
        path.mDescription += "; no packet ring: " + ringRefusal;
    }
    if (granted < request.mLargestBuffer) {
        path.mWarning = "the receive buffer of " + std::to_string(granted) + " bytes holds less than a frame (" +
                        std::to_string(request.mLargestBuffer) + " bytes), so frames will be lost in bursts: " +
                        BufferAdvice(asked);
        path.mDescription += "; warning: " + path.mWarning;
    }
    path.mSource =
        std::make_unique<UdpPacketSource>(std::move(socket), request.mCamera, request.mPacketSize, Nap(granted));
    return true;
}

}
