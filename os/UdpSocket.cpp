// The parts of UdpSocket that are the same on both systems.
#include "os/UdpSocket.h"

namespace Os {

bool UdpSocket::RequireOpen(const std::string& what)
{
    if (IsOpen()) {
        return true;
    }
    mLastError = what + ": the socket is not open";
    return false;
}

}
