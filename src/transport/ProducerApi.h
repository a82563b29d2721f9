// The producer's operations, resolved by name from the producer library when
// it is loaded, so the driver does not depend on it at link time.
#pragma once

#include "TLI.h"

namespace Kavrix {

struct ProducerApi {
    decltype(&::TLOpen) TLOpen = nullptr;
    decltype(&::TLClose) TLClose = nullptr;
    decltype(&::TLGetNumInterfaces) TLGetNumInterfaces = nullptr;
    decltype(&::TLGetInterfaceName) TLGetInterfaceName = nullptr;
    decltype(&::TLOpenInterface) TLOpenInterface = nullptr;
    decltype(&::TLCloseInterface) TLCloseInterface = nullptr;
    decltype(&::TLGetNumDevices) TLGetNumDevices = nullptr;
    decltype(&::TLGetDeviceName) TLGetDeviceName = nullptr;
    decltype(&::TLOpenDevice) TLOpenDevice = nullptr;
    decltype(&::DevClose) DevClose = nullptr;
    decltype(&::DevGetInfo) DevGetInfo = nullptr;
    decltype(&::GCGetURL) GCGetURL = nullptr;
    decltype(&::GCReadData) GCReadData = nullptr;
    decltype(&::GCWriteData) GCWriteData = nullptr;
    decltype(&::DevCreateDataStream) DevCreateDataStream = nullptr;
    decltype(&::DSClose) DSClose = nullptr;
    decltype(&::DSAnnounceBuffer) DSAnnounceBuffer = nullptr;
    decltype(&::DSRevokeBuffer) DSRevokeBuffer = nullptr;
    decltype(&::DSQueueBuffer) DSQueueBuffer = nullptr;
    decltype(&::DSStartAcquisition) DSStartAcquisition = nullptr;
    decltype(&::DSStopAcquisition) DSStopAcquisition = nullptr;
    decltype(&::GCRegisterEvent) GCRegisterEvent = nullptr;
    decltype(&::GCGetEventData) GCGetEventData = nullptr;
    decltype(&::GCUnregisterEvent) GCUnregisterEvent = nullptr;
    // Optional: null when the producer lacks them.
    decltype(&::GCGetLastError) GCGetLastError = nullptr;
    decltype(&::DSGetInfo) DSGetInfo = nullptr;
    decltype(&::DSGetBufferInfo) DSGetBufferInfo = nullptr;
};

}
