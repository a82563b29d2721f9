// The device operations: information, description location, registers.
#include "Call.h"
#include "TextCopy.h"

using namespace Tli;


GC_ERROR DevClose(DEV_HANDLE hDevice)
{
    return Call(Operation::DevClose, [&](Producer& producer) -> GC_ERROR {
        if (producer.FindDeviceHandle(hDevice) == nullptr)
            return GC_ERR_INVALID_HANDLE;
        producer.CloseDevice(hDevice);
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR DevGetInfo(DEV_HANDLE hDevice, int32_t iInfoCmd, int32_t* piType, void* pBuffer, size_t* piSize)
{
    return Call(Operation::DevGetInfo, [&](Producer& producer) -> GC_ERROR {
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

GC_ERROR GCGetURL(DEV_HANDLE hDevice, char* sURL, size_t* piSize, int32_t iIndex)
{
    return Call(Operation::GCGetURL, [&](Producer& producer) -> GC_ERROR {
        const DeviceRecord* record = producer.FindDeviceHandle(hDevice);
        if (record == nullptr)
            return GC_ERR_INVALID_HANDLE;
        // The cameras have one description URL: the first of the bootstrap block.
        if (iIndex != 1)
            return GC_ERR_INVALID_PARAMETER;
        if (record->mCamera->IsRemoved())
            return GC_ERR_TIMEOUT;
        return CopyText(record->mCamera->GetUrl(), sURL, piSize);
    });
}

GC_ERROR GCReadData(DEV_HANDLE hDevice, uint64_t iAddress, void* pBuffer, size_t* piSize)
{
    return Call(Operation::GCReadData, [&](Producer& producer) -> GC_ERROR {
        const DeviceRecord* record = producer.FindDeviceHandle(hDevice);
        if (record == nullptr)
            return GC_ERR_INVALID_HANDLE;
        if (pBuffer == nullptr || piSize == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        if (record->mCamera->IsRemoved())
            return GC_ERR_TIMEOUT;
        const std::size_t size = record->mCamera->ReadSize(*piSize);
        const GC_ERROR result = record->mCamera->ReadMemory(iAddress, pBuffer, size);
        if (result == GC_ERR_SUCCESS)
            *piSize = size;
        return result;
    });
}

GC_ERROR GCWriteData(DEV_HANDLE hDevice, uint64_t iAddress, const void* pBuffer, size_t* piSize)
{
    return Call(Operation::GCWriteData, [&](Producer& producer) -> GC_ERROR {
        const DeviceRecord* record = producer.FindDeviceHandle(hDevice);
        if (record == nullptr)
            return GC_ERR_INVALID_HANDLE;
        if (pBuffer == nullptr || piSize == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        if (record->mAccess == DEVICE_ACCESS_READONLY)
            return GC_ERR_ACCESS_DENIED;
        if (record->mCamera->IsRemoved())
            return GC_ERR_TIMEOUT;
        const std::size_t size = record->mCamera->WriteSize(*piSize);
        const GC_ERROR result = record->mCamera->WriteMemory(iAddress, pBuffer, size);
        if (result == GC_ERR_SUCCESS) {
            *piSize = size;
            // Any setting may change how the camera sends frames.
            record->mCamera->WakeStream();
        }
        return result;
    });
}
