// The producer operations by name: every one can be counted and faulted.
#pragma once

#include <cstddef>
#include <optional>

namespace Tli {

enum class Operation {
    TLOpen,
    TLClose,
    TLGetNumInterfaces,
    TLGetInterfaceName,
    TLOpenInterface,
    TLCloseInterface,
    TLGetNumDevices,
    TLGetDeviceName,
    TLOpenDevice,
    DevClose,
    DevGetInfo,
    GCGetURL,
    GCReadData,
    GCWriteData,
    DevCreateDataStream,
    DSClose,
    DSAnnounceBuffer,
    DSRevokeBuffer,
    DSQueueBuffer,
    DSStartAcquisition,
    DSStopAcquisition,
    GCRegisterEvent,
    GCGetEventData,
    GCUnregisterEvent,
    Count
};

constexpr std::size_t OperationCount = static_cast<std::size_t>(Operation::Count);

const char* OperationName(Operation operation);
std::optional<Operation> FindOperation(const char* name);

}
