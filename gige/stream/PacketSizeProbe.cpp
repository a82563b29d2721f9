#include "stream/PacketSizeProbe.h"

#include "os/System.h"
#include "os/UdpSocket.h"
#include "stream/RegisterText.h"
#include "wire/Bootstrap.h"

#include <algorithm>
#include <vector>

namespace Gige {

namespace {

constexpr std::uint32_t Channel = 0;
// A test packet is an IP datagram of the packet size: this much is IP and UDP.
constexpr std::uint32_t IpAndUdpHeaders = 20 + 8;
// A camera sends its test packet when it acknowledges the write: on a link
// of its own it comes within a millisecond or two.
constexpr std::uint32_t TestPacketWaitMs = 25;
constexpr unsigned TestPacketsPerSize = 2;
// Sizes tried in all (the MTU and the camera's own included): the start of
// an acquisition never waits long for a path that takes nothing.
constexpr unsigned MostProbes = 6;
// Halving stops when the sizes that passed and failed are this close.
constexpr std::uint32_t Closeness = 64;
constexpr std::uint32_t LargestDatagram = 65536;
// Tried when the MTU and the camera's own size fail: what every Ethernet
// path takes.
constexpr std::uint32_t EthernetSize = 1500;

class Prober {
public:
    explicit Prober(StreamHost& host, std::uint32_t scps)
        : mHost(host), mBits(scps & ~(Bootstrap::ScpsFireTestPacket | Bootstrap::ScpsPacketSizeMask)),
          mScratch(LargestDatagram)
    {
    }

    // False when the host's socket cannot be had: then nothing is probed.
    bool OpenSocket()
    {
        return mSocket.Open() && mSocket.Bind({mHost.HostAddress(), 0}) && mSocket.LocalEndpoint().port != 0;
    }

    GC_ERROR Aim(std::string& error)
    {
        GC_ERROR code = mHost.WriteRegister(Bootstrap::Scda(Channel), mHost.HostAddress().Value());
        if (code != GC_ERR_SUCCESS) {
            error = RegisterFailure("write the stream destination SCDA", Bootstrap::Scda(Channel), code);
            return code;
        }
        code = mHost.WriteRegister(Bootstrap::Scp(Channel), mSocket.LocalEndpoint().port);
        if (code != GC_ERR_SUCCESS) {
            error = RegisterFailure("write the stream port SCP", Bootstrap::Scp(Channel), code);
        }
        return code;
    }

    // Fires test packets of the size; passed when one came whole. taken is
    // the size the camera took (it may round what it is given).
    GC_ERROR Try(std::uint32_t size, bool& passed, std::uint32_t& taken, std::string& error)
    {
        ++mProbes;
        passed = false;
        taken = size;
        for (unsigned fire = 0; fire < TestPacketsPerSize && !passed; ++fire) {
            const std::uint32_t value = mBits | Bootstrap::ScpsFireTestPacket | Bootstrap::ScpsDoNotFragment |
                                        (size & Bootstrap::ScpsPacketSizeMask);
            GC_ERROR code = mHost.WriteRegister(Bootstrap::Scps(Channel), value);
            if (code != GC_ERR_SUCCESS && code != GC_ERR_TIMEOUT) {
                // A camera without the test packet may refuse its bit: it
                // keeps its own size.
                mRefused = true;
                return GC_ERR_SUCCESS;
            }
            if (code != GC_ERR_SUCCESS) {
                error = RegisterFailure("fire a test packet through SCPS", Bootstrap::Scps(Channel), code);
                return code;
            }
            mChanged = true;
            std::uint32_t readBack = 0;
            code = mHost.ReadRegister(Bootstrap::Scps(Channel), readBack);
            if (code != GC_ERR_SUCCESS) {
                error = RegisterFailure("read the stream packet size SCPS", Bootstrap::Scps(Channel), code);
                return code;
            }
            taken = readBack & Bootstrap::ScpsPacketSizeMask;
            passed = taken > IpAndUdpHeaders && Heard(taken - IpAndUdpHeaders);
        }
        return GC_ERR_SUCCESS;
    }

    unsigned Probes() const { return mProbes; }
    // The camera refused a test packet: nothing more is tried.
    bool Refused() const { return mRefused; }
    // SCPS holds a size of the probe's.
    bool Changed() const { return mChanged; }

private:
    // A datagram of the camera of exactly this size came (a stream packet
    // of that size, should the camera be sending, proves the same).
    bool Heard(std::size_t size)
    {
        const long long deadline = Os::MonotonicMilliseconds() + TestPacketWaitMs;
        for (;;) {
            const long long left = deadline - Os::MonotonicMilliseconds();
            if (left <= 0 || mSocket.WaitReadable(static_cast<std::uint32_t>(left)) != Os::WaitResult::Ready) {
                return false;
            }
            Os::DatagramSlot slot;
            slot.spans[0] = {mScratch.data(), mScratch.size()};
            slot.spanCount = 1;
            while (mSocket.ReceiveMany(&slot, 1) == 1) {
                if (slot.source.address == mHost.CameraAddress() && slot.size == size && !slot.truncated) {
                    return true;
                }
            }
        }
    }

    StreamHost& mHost;
    const std::uint32_t mBits;
    Os::UdpSocket mSocket;
    std::vector<std::uint8_t> mScratch;
    unsigned mProbes = 0;
    bool mRefused = false;
    bool mChanged = false;
};

}

GC_ERROR ProbePacketSize(StreamHost& host, std::uint32_t& scps, std::uint32_t mtu, std::string& error)
{
    const std::uint32_t own = scps & Bootstrap::ScpsPacketSizeMask;
    Prober prober(host, scps);
    if (mtu <= IpAndUdpHeaders || !prober.OpenSocket()) {
        return GC_ERR_SUCCESS;
    }
    GC_ERROR code = prober.Aim(error);
    // Sizes known to pass and to fail; 0: none yet.
    std::uint32_t good = 0;
    std::uint32_t bad = 0;
    bool passed = false;
    std::uint32_t taken = 0;
    std::vector<std::uint32_t> sizes{mtu};
    if (own < mtu) {
        sizes.push_back(own);
    }
    if (EthernetSize < std::min(own, mtu)) {
        sizes.push_back(EthernetSize);
    }
    for (const std::uint32_t size : sizes) {
        if (code != GC_ERR_SUCCESS || prober.Refused()) {
            break;
        }
        code = prober.Try(size, passed, taken, error);
        if (passed) {
            good = taken;
            break;
        }
        bad = size;
    }
    while (code == GC_ERR_SUCCESS && !prober.Refused() && good != 0 && bad > good + Closeness &&
           prober.Probes() < MostProbes) {
        // Sizes of whole words: what cameras take.
        const std::uint32_t middle = (good + (bad - good) / 2) & ~std::uint32_t{3};
        code = prober.Try(middle, passed, taken, error);
        if (passed && taken > good) {
            good = taken;
        } else if (!passed && !prober.Refused()) {
            bad = middle;
        } else {
            break;
        }
    }
    // The camera stops sending to the probe's socket, and goes on with the
    // size that passed, or its own.
    const GC_ERROR clear = host.WriteRegister(Bootstrap::Scp(Channel), 0);
    const std::uint32_t chosen = good != 0 ? good : own;
    const std::uint32_t value =
        (scps & ~(Bootstrap::ScpsFireTestPacket | Bootstrap::ScpsPacketSizeMask)) | chosen;
    const GC_ERROR set = prober.Changed() ? host.WriteRegister(Bootstrap::Scps(Channel), value) : GC_ERR_SUCCESS;
    if (code != GC_ERR_SUCCESS) {
        return code;
    }
    if (clear != GC_ERR_SUCCESS) {
        error = RegisterFailure("write the stream port SCP", Bootstrap::Scp(Channel), clear);
        return clear;
    }
    if (set != GC_ERR_SUCCESS) {
        error = RegisterFailure("write the stream packet size SCPS", Bootstrap::Scps(Channel), set);
        return set;
    }
    scps = value;
    return GC_ERR_SUCCESS;
}

}
