// The packet ring on Linux: an AF_PACKET socket of type SOCK_DGRAM (packets
// start at the IPv4 header, whatever the link), TPACKET_V3 blocks mapped
// into the process, and the UDP filter attached before the socket is bound,
// so no other packet ever enters the ring.
#include "os/PacketRing.h"

#include "os/Event.h"
#include "os/posix/Descriptor.h"
#include "os/posix/PacketFilter.h"
#include "os/posix/PollWait.h"
#include "os/posix/UdpPacketParse.h"

#include <arpa/inet.h>
#include <linux/if_ether.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <system_error>

namespace Os {

struct PacketRing::State {
    State() = default;
    ~State()
    {
        if (map != MAP_FAILED) {
            munmap(map, mapSize);
        }
    }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    tpacket_block_desc* Block(std::size_t index) const
    {
        return reinterpret_cast<tpacket_block_desc*>(static_cast<std::uint8_t*>(map) + index * blockSize);
    }
    // The block's status word, which the kernel and the reader hand the
    // block over with: what one wrote before its store is seen by the other
    // after its load.
    std::atomic<std::uint32_t>& Status(std::size_t index) const
    {
        static_assert(sizeof(std::atomic<std::uint32_t>) == sizeof(std::uint32_t) &&
                      alignof(std::atomic<std::uint32_t>) == alignof(std::uint32_t));
        return *reinterpret_cast<std::atomic<std::uint32_t>*>(&Block(index)->hdr.bh1.block_status);
    }
    bool IsHandedOver(std::size_t index) const
    {
        return (Status(index).load(std::memory_order_acquire) & TP_STATUS_USER) != 0;
    }

    Descriptor socket;
    Event wake{Event::Mode::AutoReset};
    void* map = MAP_FAILED;
    std::size_t mapSize = 0;
    std::size_t blockSize = 0;
    std::size_t blockCount = 0;
    std::uint32_t holdMs = 0;
    // The block read now, and where its next packet is.
    std::size_t current = 0;
    bool reading = false;
    std::uint32_t packetsLeft = 0;
    std::size_t nextOffset = 0;
    RingStatistics totals;
};

bool PacketRing::IsAvailable()
{
    return true;
}

PacketRing::PacketRing() = default;
PacketRing::~PacketRing() = default;
PacketRing::PacketRing(PacketRing&& other) noexcept = default;
PacketRing& PacketRing::operator=(PacketRing&& other) noexcept = default;

bool PacketRing::Open(const PacketRingOptions& options)
{
    Close();
    const std::string what = "cannot open a packet ring on \"" + options.interfaceName + "\"";
    const auto fail = [this, &what](const std::string& reason) {
        mLastError = what + ": " + reason;
        return false;
    };
    // errno is read first, before any text is made.
    const auto systemFail = [&fail](const char* step) {
        const int error = errno;
        return fail(std::string(step) + ": " + std::generic_category().message(error));
    };

    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pageSize <= 0 || options.blockSize == 0 || options.blockSize % static_cast<std::size_t>(pageSize) != 0 ||
        options.blockSize > 0x7FFFFFFFu) {
        return fail("the block size " + std::to_string(options.blockSize) + " is no multiple of the page size " +
                    std::to_string(pageSize) + " up to 2 GiB");
    }
    if (options.blockCount == 0 || options.blockCount > 0xFFFFFFFFu / (options.blockSize / pageSize)) {
        return fail("the block count " + std::to_string(options.blockCount) + " is out of range");
    }
    const unsigned index = options.interfaceName.size() < IFNAMSIZ ? if_nametoindex(options.interfaceName.c_str()) : 0;
    if (index == 0) {
        return fail("no such adapter");
    }

    std::unique_ptr<State> state;
    try {
        state = std::make_unique<State>();
    } catch (const std::system_error& error) {
        return fail(error.what());
    }
    // Protocol 0: nothing arrives before the filter is in place and the
    // socket is bound.
    state->socket.Reset(socket(AF_PACKET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!state->socket.IsValid()) {
        const int error = errno;
        return fail(std::generic_category().message(error) +
                    (error == EPERM ? " (a packet ring needs CAP_NET_RAW)" : ""));
    }
    const int fd = state->socket.Get();
    if (!AttachUdpFilter(fd, options.source, options.destinationPort)) {
        return systemFail("the filter");
    }
    const int version = TPACKET_V3;
    const int ignoreOutgoing = 1;
    if (setsockopt(fd, SOL_PACKET, PACKET_VERSION, &version, sizeof version) != 0 ||
        setsockopt(fd, SOL_PACKET, PACKET_IGNORE_OUTGOING, &ignoreOutgoing, sizeof ignoreOutgoing) != 0) {
        return systemFail("the ring's version");
    }
    // One frame per block: version 3 packs packets of any size into a block.
    tpacket_req3 request{};
    request.tp_block_size = static_cast<unsigned>(options.blockSize);
    request.tp_block_nr = static_cast<unsigned>(options.blockCount);
    request.tp_frame_size = static_cast<unsigned>(options.blockSize);
    request.tp_frame_nr = static_cast<unsigned>(options.blockCount);
    request.tp_retire_blk_tov = options.blockTimeoutMs;
    if (setsockopt(fd, SOL_PACKET, PACKET_RX_RING, &request, sizeof request) != 0) {
        return systemFail("the ring's blocks");
    }
    state->blockSize = options.blockSize;
    state->blockCount = options.blockCount;
    // The coarse clocks tick with the kernel's timer.
    timespec tick{};
    const long tickMs = clock_getres(CLOCK_MONOTONIC_COARSE, &tick) == 0
                            ? std::max(1L, static_cast<long>((tick.tv_sec * 1000000000L + tick.tv_nsec + 999999) / 1000000))
                            : 10;
    const long ticks = (static_cast<long>(options.blockTimeoutMs) + tickMs - 1) / tickMs;
    state->holdMs = static_cast<std::uint32_t>((std::max(ticks, 1L) + 1) * tickMs);
    state->mapSize = options.blockSize * options.blockCount;
    state->map = mmap(nullptr, state->mapSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (state->map == MAP_FAILED) {
        return systemFail("mapping the ring");
    }
    sockaddr_ll address{};
    address.sll_family = AF_PACKET;
    address.sll_protocol = htons(ETH_P_IP);
    address.sll_ifindex = static_cast<int>(index);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return systemFail("binding to the adapter");
    }
    mState = std::move(state);
    mLastError.clear();
    return true;
}

std::uint32_t PacketRing::HoldMs() const
{
    return mState == nullptr ? 0 : mState->holdMs;
}

void PacketRing::Close()
{
    mState.reset();
}

WaitResult PacketRing::WaitBlock(std::uint32_t timeoutMs)
{
    if (mState == nullptr) {
        mLastError = "cannot wait: the packet ring is not open";
        return WaitResult::Failed;
    }
    State& state = *mState;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (state.reading || state.IsHandedOver(state.current)) {
            if (!state.reading) {
                const tpacket_hdr_v1& header = state.Block(state.current)->hdr.bh1;
                state.reading = true;
                state.packetsLeft = header.num_pkts;
                state.nextOffset = header.offset_to_first_pkt;
            }
            return WaitResult::Ready;
        }
        std::uint32_t left = timeoutMs;
        if (timeoutMs != Infinite) {
            const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            left = remaining > 0 ? static_cast<std::uint32_t>(remaining) : 0;
        }
        // Input on the socket means some block was handed over: this one,
        // since the kernel hands them over in order.
        const WaitResult result = PollWait(state.socket.Get(), state.wake.GetNative(), left);
        if (result != WaitResult::Ready) {
            return result;
        }
    }
}

bool PacketRing::NextPacket(RingPacket& packet)
{
    if (mState == nullptr || !mState->reading) {
        return false;
    }
    State& state = *mState;
    while (state.packetsLeft > 0) {
        // The kernel's offsets are checked against the block all the same.
        if (state.nextOffset + sizeof(tpacket3_hdr) > state.blockSize) {
            state.packetsLeft = 0;
            break;
        }
        const std::uint8_t* block = reinterpret_cast<const std::uint8_t*>(state.Block(state.current));
        const auto* header = reinterpret_cast<const tpacket3_hdr*>(block + state.nextOffset);
        const std::size_t start = state.nextOffset + header->tp_net;
        const bool inside = start <= state.blockSize && header->tp_snaplen <= state.blockSize - start;
        --state.packetsLeft;
        state.nextOffset += header->tp_next_offset;
        if (header->tp_next_offset == 0) {
            state.packetsLeft = 0;
        }
        if (inside && ParseUdpPacket(block + start, header->tp_snaplen, header->tp_len, packet)) {
            return true;
        }
    }
    return false;
}

long long PacketRing::BlockAgeMs() const
{
    if (mState == nullptr || !mState->reading) {
        return 0;
    }
    // The kernel stamps packets with the real-time clock.
    const tpacket_bd_ts& last = mState->Block(mState->current)->hdr.bh1.ts_last_pkt;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const long long nanoseconds = (static_cast<long long>(now.tv_sec) - last.ts_sec) * 1000000000LL +
                                  (static_cast<long long>(now.tv_nsec) - last.ts_nsec);
    return nanoseconds <= 0 ? 0 : (nanoseconds + 999999) / 1000000;
}

void PacketRing::ReleaseBlock()
{
    if (mState == nullptr || !mState->reading) {
        return;
    }
    State& state = *mState;
    state.Status(state.current).store(TP_STATUS_KERNEL, std::memory_order_release);
    state.reading = false;
    state.packetsLeft = 0;
    state.current = (state.current + 1) % state.blockCount;
}

RingStatistics PacketRing::Statistics()
{
    if (mState == nullptr) {
        return {};
    }
    // Reading the kernel's counters resets them: they add up here.
    tpacket_stats_v3 counters{};
    socklen_t length = sizeof counters;
    if (getsockopt(mState->socket.Get(), SOL_PACKET, PACKET_STATISTICS, &counters, &length) != 0) {
        const int error = errno;
        mLastError = "cannot read the packet ring's counters: " + std::generic_category().message(error);
        return mState->totals;
    }
    mState->totals.packets += counters.tp_packets;
    mState->totals.drops += counters.tp_drops;
    return mState->totals;
}

void PacketRing::Wake()
{
    if (mState != nullptr) {
        mState->wake.Set();
    }
}

}
