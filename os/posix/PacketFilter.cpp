#include "os/posix/PacketFilter.h"

#include <linux/filter.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace Os {

bool AttachUdpFilter(int packetSocket, Ipv4Address source, std::uint16_t destinationPort)
{
    // Classic BPF; a jump counts the instructions it skips. The IPv4 header:
    // protocol at 9, flags and fragment offset at 6, source address at 12;
    // the UDP destination port 2 bytes after the header's length in words.
    constexpr std::uint8_t ToDrop9 = 8, ToDrop3 = 6, ToDrop5 = 4;
    sock_filter program[] = {
        {BPF_LD | BPF_B | BPF_ABS, 0, 0, 9},
        {BPF_JMP | BPF_JEQ | BPF_K, 0, ToDrop9, IPPROTO_UDP},
        {BPF_LD | BPF_W | BPF_ABS, 0, 0, 12},
        {BPF_JMP | BPF_JEQ | BPF_K, 0, ToDrop3, source.Value()},
        {BPF_LD | BPF_H | BPF_ABS, 0, 0, 6},
        {BPF_JMP | BPF_JSET | BPF_K, ToDrop5, 0, 0x1FFF},  // a fragment after the first
        {BPF_LDX | BPF_B | BPF_MSH, 0, 0, 0},              // X = the header's length
        {BPF_LD | BPF_H | BPF_IND, 0, 0, 2},
        {BPF_JMP | BPF_JEQ | BPF_K, 0, 1, destinationPort},
        {BPF_RET | BPF_K, 0, 0, 0xFFFFFFFFu},  // pass all of it
        {BPF_RET | BPF_K, 0, 0, 0},            // drop
    };
    const sock_fprog filter{static_cast<unsigned short>(sizeof program / sizeof program[0]), program};
    return setsockopt(packetSocket, SOL_SOCKET, SO_ATTACH_FILTER, &filter, sizeof filter) == 0;
}

}
