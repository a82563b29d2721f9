// The library and interface operations: discovery of interfaces and devices.
#include "Call.h"
#include "TextCopy.h"

using namespace Tli;


GC_ERROR TLOpen(TL_HANDLE* phTL)
{
    return Call(Operation::TLOpen, [&](Producer& producer) -> GC_ERROR {
        if (phTL == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        *phTL = producer.OpenLibrary();
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR TLClose(TL_HANDLE hTL)
{
    return Call(Operation::TLClose, [&](Producer& producer) -> GC_ERROR {
        if (!producer.IsLibrary(hTL))
            return GC_ERR_INVALID_HANDLE;
        producer.CloseLibrary(hTL);
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR TLGetNumInterfaces(TL_HANDLE hTL, uint32_t* piNumIfaces)
{
    return Call(Operation::TLGetNumInterfaces, [&](Producer& producer) -> GC_ERROR {
        if (!producer.IsLibrary(hTL))
            return GC_ERR_INVALID_HANDLE;
        if (piNumIfaces == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        *piNumIfaces = static_cast<uint32_t>(producer.Interfaces().size());
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR TLGetInterfaceName(TL_HANDLE hTL, uint32_t iIndex, char* sName, size_t* piSize)
{
    return Call(Operation::TLGetInterfaceName, [&](Producer& producer) -> GC_ERROR {
        if (!producer.IsLibrary(hTL))
            return GC_ERR_INVALID_HANDLE;
        const auto& interfaces = producer.Interfaces();
        if (iIndex >= interfaces.size())
            return GC_ERR_INVALID_PARAMETER;
        return CopyText(interfaces[iIndex]->GetName(), sName, piSize);
    });
}

GC_ERROR TLOpenInterface(TL_HANDLE hTL, const char* sIfaceName, IF_HANDLE* phIface)
{
    return Call(Operation::TLOpenInterface, [&](Producer& producer) -> GC_ERROR {
        if (!producer.IsLibrary(hTL))
            return GC_ERR_INVALID_HANDLE;
        if (sIfaceName == nullptr || phIface == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        auto iface = producer.FindInterface(sIfaceName);
        if (!iface)
            return GC_ERR_INVALID_ID;
        *phIface = producer.OpenInterface(hTL, std::move(iface));
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR TLCloseInterface(IF_HANDLE hIface)
{
    return Call(Operation::TLCloseInterface, [&](Producer& producer) -> GC_ERROR {
        if (producer.FindInterfaceHandle(hIface) == nullptr)
            return GC_ERR_INVALID_HANDLE;
        producer.CloseInterface(hIface);
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR TLGetNumDevices(IF_HANDLE hIface, uint32_t* piNumDevices)
{
    return Call(Operation::TLGetNumDevices, [&](Producer& producer) -> GC_ERROR {
        const InterfaceRecord* record = producer.FindInterfaceHandle(hIface);
        if (record == nullptr)
            return GC_ERR_INVALID_HANDLE;
        if (piNumDevices == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        *piNumDevices = static_cast<uint32_t>(record->mInterface->Cameras().size());
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR TLGetDeviceName(IF_HANDLE hIface, uint32_t iIndex, char* sName, size_t* piSize)
{
    return Call(Operation::TLGetDeviceName, [&](Producer& producer) -> GC_ERROR {
        const InterfaceRecord* record = producer.FindInterfaceHandle(hIface);
        if (record == nullptr)
            return GC_ERR_INVALID_HANDLE;
        const auto& cameras = record->mInterface->Cameras();
        if (iIndex >= cameras.size())
            return GC_ERR_INVALID_PARAMETER;
        return CopyText(cameras[iIndex]->GetName(), sName, piSize);
    });
}

GC_ERROR TLOpenDevice(IF_HANDLE hIface, const char* sDeviceName, int32_t iOpenFlags, DEV_HANDLE* phDevice)
{
    return Call(Operation::TLOpenDevice, [&](Producer& producer) -> GC_ERROR {
        const InterfaceRecord* record = producer.FindInterfaceHandle(hIface);
        if (record == nullptr)
            return GC_ERR_INVALID_HANDLE;
        if (sDeviceName == nullptr || phDevice == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        if (iOpenFlags != DEVICE_ACCESS_EXCLUSIVE && iOpenFlags != DEVICE_ACCESS_CONTROL &&
            iOpenFlags != DEVICE_ACCESS_READONLY)
            return GC_ERR_INVALID_PARAMETER;
        auto camera = record->mInterface->FindCamera(sDeviceName);
        if (!camera)
            return GC_ERR_INVALID_ID;
        // One application at a time holds a GigE Vision camera.
        if (camera->GetOpenHandle() != nullptr)
            return GC_ERR_ACCESS_DENIED;
        *phDevice = producer.OpenDevice(hIface, std::move(camera), iOpenFlags);
        return GC_ERR_SUCCESS;
    });
}
