// What a Linux UdpSocket holds: the socket, its wake eventfd and the
// recvmmsg arrays, made once at Open and reused by every ReceiveMany.
#pragma once

#include "os/Event.h"
#include "os/UdpSocket.h"
#include "os/posix/Descriptor.h"

#include <netinet/in.h>
#include <sys/socket.h>

namespace Os {

struct UdpSocket::State {
    Descriptor socket;
    Event wake{Event::Mode::AutoReset};
    bool reportArrival = false;

    mmsghdr messages[MaxDatagramsPerReceive];
    iovec vectors[MaxDatagramsPerReceive][MaxDatagramSpans];
    sockaddr_in sources[MaxDatagramsPerReceive];
    // Room for the IP_PKTINFO message of each datagram.
    union Control {
        cmsghdr header;
        unsigned char bytes[CMSG_SPACE(sizeof(in_pktinfo))];
    } controls[MaxDatagramsPerReceive];
};

}
