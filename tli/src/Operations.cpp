#include "Operations.h"

#include <cstring>

namespace Tli {

namespace {

// In the order of the enumeration.
const char* const Names[OperationCount] = {
    "TLOpen",           "TLClose",         "TLGetNumInterfaces", "TLGetInterfaceName",
    "TLOpenInterface",  "TLCloseInterface", "TLGetNumDevices",   "TLGetDeviceName",
    "TLOpenDevice",     "DevClose",        "DevGetInfo",         "GCGetURL",
    "GCReadData",       "GCWriteData",     "DevCreateDataStream", "DSClose",
    "DSAnnounceBuffer", "DSRevokeBuffer",  "DSQueueBuffer",      "DSStartAcquisition",
    "DSStopAcquisition", "GCRegisterEvent", "GCGetEventData",    "GCUnregisterEvent"};

}

const char* OperationName(Operation operation)
{
    return Names[static_cast<std::size_t>(operation)];
}

std::optional<Operation> FindOperation(const char* name)
{
    if (name == nullptr)
        return std::nullopt;
    for (std::size_t i = 0; i < OperationCount; ++i)
        if (std::strcmp(Names[i], name) == 0)
            return static_cast<Operation>(i);
    return std::nullopt;
}

}
