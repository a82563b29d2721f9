// How an acquisition receives its stream: a UDP socket bound on the host's
// address (its port is where the camera sends), its receive buffer sized for
// two frames before the first one comes, and where the process may, the
// kernel's packet ring in its place. Says which, and what to change when the
// system grants less than a frame of buffer.
#pragma once

#include "os/Ipv4Address.h"
#include "stream/PacketSource.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Gige {

struct ReceiveRequest {
    Os::Ipv4Address mHost;
    std::string mInterfaceName;
    Os::Ipv4Address mCamera;
    // SCPS's packet size: the whole IP datagram.
    std::uint32_t mPacketSize = 0;
    std::size_t mLargestBuffer = 0;
    bool mAllowPacketRing = true;
};

struct ReceivePath {
    std::unique_ptr<PacketSource> mSource;
    std::uint16_t mPort = 0;
    // Bytes of datagrams the system holds for the receiver: the socket's
    // receive buffer, or the ring.
    std::uint64_t mReceiveBuffer = 0;
    // For STREAM_INFO_RECEIVE_PATH: the path, and any warning.
    std::string mDescription;
    // What to raise when the buffer holds less than a frame; empty otherwise.
    std::string mWarning;
};

// False, with the reason in error, when not even the UDP socket can be had.
bool OpenReceivePath(const ReceiveRequest& request, ReceivePath& path, std::string& error);

}
