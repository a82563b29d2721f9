// Endpoints to and from the system's IPv4 socket addresses.
#pragma once

#include "os/Ipv4Address.h"

#include <arpa/inet.h>
#include <netinet/in.h>

namespace Os {

inline sockaddr_in ToSocketAddress(const Endpoint& endpoint)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(endpoint.port);
    address.sin_addr.s_addr = htonl(endpoint.address.Value());
    return address;
}

inline Endpoint FromSocketAddress(const sockaddr_in& address)
{
    return Endpoint{Ipv4Address(ntohl(address.sin_addr.s_addr)), ntohs(address.sin_port)};
}

}
