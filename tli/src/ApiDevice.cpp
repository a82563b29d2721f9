// The device operations: information, description location, registers.
#include "Call.h"
#include "Names.h"

using namespace Tli;

using Lock = std::unique_lock<std::mutex>;

GC_ERROR DevClose(DEV_HANDLE hDevice)
{
    return Call(Operation::DevClose, [&](Producer& producer, Lock&) -> GC_ERROR {
        if (producer.FindDeviceHandle(hDevice) == nullptr)
            return GC_ERR_INVALID_HANDLE;
        producer.CloseDevice(hDevice);
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR DevGetInfo(DEV_HANDLE hDevice, int32_t iInfoCmd, int32_t* piType, void* pBuffer, size_t* piSize)
{
    return Call(Operation::DevGetInfo, [&](Producer& producer, Lock&) -> GC_ERROR {
        const DeviceRecord* record = producer.FindDeviceHandle(hDevice);
        if (record == nullptr)
            return GC_ERR_INVALID_HANDLE;
        const auto text = record->mCamera->GetInfo(iInfoCmd);
        if (!text)
            return GC_ERR_INVALID_PARAMETER;
        const GC_ERROR result = CopyText(*text, static_cast<char*>(pBuffer), piSize);
        // Every answer is a text (GenTL's INFO_DATATYPE_STRING).
        if (result == GC_ERR_SUCCESS && piType != nullptr)
            *piType = 1;
        return result;
    });
}

GC_ERROR GCGetURL(DEV_HANDLE hDevice, char*, size_t*, int32_t)
{
    return Call(Operation::GCGetURL, [&](Producer& producer, Lock&) -> GC_ERROR {
        return producer.FindDeviceHandle(hDevice) == nullptr ? GC_ERR_INVALID_HANDLE : GC_ERR_ERROR;
    });
}

GC_ERROR GCReadData(DEV_HANDLE hDevice, uint64_t, void*, size_t*)
{
    return Call(Operation::GCReadData, [&](Producer& producer, Lock&) -> GC_ERROR {
        return producer.FindDeviceHandle(hDevice) == nullptr ? GC_ERR_INVALID_HANDLE : GC_ERR_ERROR;
    });
}

GC_ERROR GCWriteData(DEV_HANDLE hDevice, uint64_t, const void*, size_t*)
{
    return Call(Operation::GCWriteData, [&](Producer& producer, Lock&) -> GC_ERROR {
        return producer.FindDeviceHandle(hDevice) == nullptr ? GC_ERR_INVALID_HANDLE : GC_ERR_ERROR;
    });
}
