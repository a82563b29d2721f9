// Port: the description's name for a way to register memory. The host
// connects an IPort to it; until then the registers behind it are not available.
#ifndef GENAPI_DETAIL_PORTNODE_H
#define GENAPI_DETAIL_PORTNODE_H

#include <GenApi/IPort.h>
#include <GenICam/GCException.h>

#include "Node.h"

namespace GenApi {
namespace Detail {

// What reading through a port nobody connected raises: the registers behind
// it are not there now, which is not a failure of the camera.
class PortNotConnected : public GenICam::AccessException {
public:
    using AccessException::AccessException;
};

class PortNode final : public Node, public IPort {
public:
    PortNode(NodeMap& map, std::string_view name) : Node(map, name, intfIPort) {}

    void SetPort(IPort* port) { mPort = port; }
    // Register access, the caller holding the map's lock.
    void ReadPort(void* buffer, int64_t address, int64_t length);
    void WritePort(const void* buffer, int64_t address, int64_t length);

    // IPort, for callers outside the map.
    void Read(void* pBuffer, int64_t Address, int64_t Length) override;
    void Write(const void* pBuffer, int64_t Address, int64_t Length) override;

protected:
    EAccessMode OwnAccess() override;

private:
    IPort* mPort = nullptr;
};

} // namespace Detail
} // namespace GenApi

#endif
