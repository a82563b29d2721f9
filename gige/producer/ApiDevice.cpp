// The device operations: information, description location, memory.
#include "producer/Call.h"
#include "producer/DeviceInfoText.h"
#include "producer/TextOut.h"

using namespace Gige;

GC_ERROR DevClose(DEV_HANDLE hDevice)
{
    return Call("DevClose", [&](Producer& producer) -> Status {
        return producer.CloseDevice(hDevice) ? Status::Success() : NotOpen("device");
    });
}

GC_ERROR DevGetInfo(DEV_HANDLE hDevice, int32_t iInfoCmd, int32_t* piType, void* pBuffer, size_t* piSize)
{
    return Call("DevGetInfo", [&](Producer& producer) -> Status {
        const auto record = producer.FindDevice(hDevice);
        if (!record)
            return NotOpen("device");
        const auto text = DeviceInfoText(record->mCamera, iInfoCmd);
        if (!text)
            return Status::Failure(GC_ERR_INVALID_PARAMETER, "no device information " + std::to_string(iInfoCmd));
        const Status status = CopyText(*text, static_cast<char*>(pBuffer), piSize);
        if (status.Ok() && piType != nullptr)
            *piType = INFO_DATATYPE_STRING;
        return status;
    });
}

GC_ERROR GCGetURL(DEV_HANDLE hDevice, char* sURL, size_t* piSize, int32_t iIndex)
{
    return Call("GCGetURL", [&](Producer& producer) -> Status {
        const auto record = producer.FindDevice(hDevice);
        if (!record)
            return NotOpen("device");
        if (piSize == nullptr)
            return MissingArgument("size pointer");
        std::string url;
        const Status status = record->mControl->ReadUrl(iIndex, url);
        return status.Ok() ? CopyText(url, sURL, piSize) : status;
    });
}

GC_ERROR GCReadData(DEV_HANDLE hDevice, uint64_t iAddress, void* pBuffer, size_t* piSize)
{
    return Call("GCReadData", [&](Producer& producer) -> Status {
        const auto record = producer.FindDevice(hDevice);
        if (!record)
            return NotOpen("device");
        if (pBuffer == nullptr || piSize == nullptr)
            return MissingArgument("buffer or size pointer");
        return record->mControl->ReadMemory(iAddress, pBuffer, *piSize);
    });
}

GC_ERROR GCWriteData(DEV_HANDLE hDevice, uint64_t iAddress, const void* pBuffer, size_t* piSize)
{
    return Call("GCWriteData", [&](Producer& producer) -> Status {
        const auto record = producer.FindDevice(hDevice);
        if (!record)
            return NotOpen("device");
        if (pBuffer == nullptr || piSize == nullptr)
            return MissingArgument("buffer or size pointer");
        return record->mControl->WriteMemory(iAddress, pBuffer, *piSize);
    });
}
