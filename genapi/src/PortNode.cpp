#include "PortNode.h"

#include <GenICam/GCException.h>

#include "NodeMap.h"

namespace GenApi {
namespace Detail {

EAccessMode PortNode::OwnAccess() { return mPort ? mPort->GetAccessMode() : NA; }

void PortNode::ReadPort(void* buffer, int64_t address, int64_t length)
{
    if (!mPort) {
        throw GenICam::ExceptionReporter<PortNotConnected>(__FILE__, __LINE__).Report("Port '%s' is not connected",
                                                                                   mName.data());
    }
    mPort->Read(buffer, address, length);
}

void PortNode::WritePort(const void* buffer, int64_t address, int64_t length)
{
    if (!mPort) {
        throw GenICam::ExceptionReporter<PortNotConnected>(__FILE__, __LINE__).Report("Port '%s' is not connected",
                                                                                   mName.data());
    }
    mPort->Write(buffer, address, length);
}

void PortNode::Read(void* pBuffer, int64_t Address, int64_t Length)
{
    MapLock lock(mMap);
    CheckReadable();
    ReadPort(pBuffer, Address, Length);
}

void PortNode::Write(const void* pBuffer, int64_t Address, int64_t Length)
{
    MapLock lock(mMap);
    CheckWritable();
    WritePort(pBuffer, Address, Length);
    mMap.InvalidateAll();
}

} // namespace Detail
} // namespace GenApi
