// The control API for tests (TLIControl.h).
#include "Call.h"
#include "TLIControl.h"
#include "TextCopy.h"

#include <cstring>

using namespace Tli;

namespace {

// Runs body on the named camera; GC_ERR_INVALID_ID when there is none.
template <class Body>
GC_ERROR OnCamera(const char* name, Body&& body)
{
    return Control([&](Producer& producer) -> GC_ERROR {
        if (name == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        const auto camera = producer.FindCamera(name);
        if (!camera)
            return GC_ERR_INVALID_ID;
        return body(*camera);
    });
}

bool IsIntegerRegister(const Camera& camera, const char* name)
{
    const CamSim::RegisterField* field = name == nullptr ? nullptr : camera.GetModel().Layout()->FindField(name);
    return field != nullptr && field->mKind == CamSim::RegisterField::Kind::Integer;
}

}

GC_ERROR TLICtl_Reset(void)
{
    return Control([](Producer& producer) { return producer.Reset() ? GC_ERR_SUCCESS : GC_ERR_ERROR; });
}

GC_ERROR TLICtl_LoadConfig(const char* sPath)
{
    return Control([&](Producer& producer) {
        if (sPath == nullptr || *sPath == '\0')
            producer.SetConfigPath(std::nullopt);
        else
            producer.SetConfigPath(std::string(sPath));
        return producer.Reset() ? GC_ERR_SUCCESS : GC_ERR_ERROR;
    });
}

GC_ERROR TLICtl_LastConfigError(char* sText, size_t* piSize)
{
    return Control([&](Producer& producer) { return CopyText(producer.GetConfigError(), sText, piSize); });
}

GC_ERROR TLICtl_AddInterface(const char* sIfaceName)
{
    return Control([&](Producer& producer) -> GC_ERROR {
        if (sIfaceName == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        return producer.AddInterface(sIfaceName);
    });
}

GC_ERROR TLICtl_RemoveInterface(const char* sIfaceName)
{
    return Control([&](Producer& producer) -> GC_ERROR {
        if (sIfaceName == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        return producer.RemoveInterface(sIfaceName);
    });
}

GC_ERROR TLICtl_AddDevice(const char* sIfaceName, const char* sModel, const char* sDeviceName)
{
    return Control([&](Producer& producer) -> GC_ERROR {
        if (sIfaceName == nullptr || sModel == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        const auto iface = producer.FindInterface(sIfaceName);
        if (!iface)
            return GC_ERR_INVALID_ID;
        CamSim::DeviceSetup setup;
        setup.mModel = sModel;
        if (sDeviceName != nullptr)
            setup.mName = sDeviceName;
        return producer.AddCamera(*iface, setup);
    });
}

GC_ERROR TLICtl_RemoveDevice(const char* sDeviceName)
{
    return Control([&](Producer& producer) -> GC_ERROR {
        if (sDeviceName == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        return producer.RemoveCamera(sDeviceName);
    });
}

GC_ERROR TLICtl_InjectFault(const char* sOperation, GC_ERROR iCode, uint32_t iSkip, uint32_t iCount)
{
    return Control([&](Producer& producer) -> GC_ERROR {
        const auto operation = FindOperation(sOperation);
        if (!operation)
            return GC_ERR_INVALID_ID;
        if (iCode == GC_ERR_SUCCESS)
            return GC_ERR_INVALID_PARAMETER;
        producer.Faults().Inject(*operation, iCode, iSkip, iCount);
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR TLICtl_ClearFaults(void)
{
    return Control([](Producer& producer) {
        producer.Faults().ClearFaults();
        return GC_ERR_SUCCESS;
    });
}

int64_t TLICtl_CallCount(const char* sOperation)
{
    const auto operation = FindOperation(sOperation);
    if (!operation)
        return -1;
    try {
        Producer& producer = Producer::Instance();
        std::lock_guard<std::mutex> lock(producer.GetMutex());
        return producer.Faults().CallCount(*operation);
    } catch (...) {
        return -1;
    }
}

GC_ERROR TLICtl_SetRegister(const char* sDeviceName, uint64_t iAddress, const void* pBuffer, size_t iSize)
{
    return OnCamera(sDeviceName, [&](Camera& camera) -> GC_ERROR {
        if (pBuffer == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        return camera.Registers().Write(iAddress, pBuffer, iSize, false);
    });
}

GC_ERROR TLICtl_GetRegister(const char* sDeviceName, uint64_t iAddress, void* pBuffer, size_t iSize)
{
    return OnCamera(sDeviceName, [&](Camera& camera) -> GC_ERROR {
        if (pBuffer == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        return camera.Registers().Read(iAddress, pBuffer, iSize, false);
    });
}

GC_ERROR TLICtl_SetRegisterValue(const char* sDeviceName, const char* sRegister, int64_t iValue)
{
    return OnCamera(sDeviceName, [&](Camera& camera) -> GC_ERROR {
        if (!IsIntegerRegister(camera, sRegister))
            return GC_ERR_INVALID_PARAMETER;
        camera.Registers().SetInteger(sRegister, iValue);
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR TLICtl_GetRegisterValue(const char* sDeviceName, const char* sRegister, int64_t* piValue)
{
    return OnCamera(sDeviceName, [&](Camera& camera) -> GC_ERROR {
        if (!IsIntegerRegister(camera, sRegister) || piValue == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        *piValue = camera.Registers().GetInteger(sRegister);
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR TLICtl_SetPrivilegeOnOpen(const char* sDeviceName, int32_t iValue)
{
    return OnCamera(sDeviceName, [&](Camera& camera) -> GC_ERROR {
        if (iValue > 3)
            return GC_ERR_INVALID_PARAMETER;
        camera.SetPrivilegeOnOpen(iValue < 0 ? std::nullopt : std::optional<std::uint32_t>(iValue));
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR TLICtl_SetTransferLimits(const char* sDeviceName, size_t iReadBytes, size_t iWriteBytes)
{
    return OnCamera(sDeviceName, [&](Camera& camera) -> GC_ERROR {
        camera.SetTransferLimits(iReadBytes, iWriteBytes);
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR TLICtl_SetDescriptionForm(const char* sDeviceName, int32_t iForm)
{
    return OnCamera(sDeviceName, [&](Camera& camera) -> GC_ERROR {
        if (iForm < TLICTL_DESCRIPTION_ZIPPED || iForm > TLICTL_DESCRIPTION_CORRUPT)
            return GC_ERR_INVALID_PARAMETER;
        camera.SetDescriptionForm(static_cast<CamSim::DescriptionForm>(iForm));
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR TLICtl_SetDescriptionUrl(const char* sDeviceName, const char* sUrl)
{
    return OnCamera(sDeviceName, [&](Camera& camera) -> GC_ERROR {
        if (sUrl == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        camera.SetUrl(sUrl);
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR TLICtl_GetDescription(const char* sModel, int32_t iZipped, void* pBuffer, size_t* piSize)
{
    return Control([&](Producer&) -> GC_ERROR {
        const CamSim::CameraModel* model = sModel == nullptr ? nullptr : CamSim::FindModel(sModel);
        if (model == nullptr)
            return GC_ERR_INVALID_ID;
        if (piSize == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        const std::string& text = model->Description();
        const void* data = text.data();
        std::size_t size = text.size();
        if (iZipped != 0) {
            const auto& archive = CamSim::ZippedDescription(*model);
            data = archive.data();
            size = archive.size();
        }
        if (pBuffer != nullptr) {
            if (*piSize < size) {
                *piSize = size;
                return GC_ERR_INVALID_BUFFER_SIZE;
            }
            std::memcpy(pBuffer, data, size);
        }
        *piSize = size;
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR TLICtl_DeliverFrame(const char* sDeviceName)
{
    return OnCamera(sDeviceName, [&](Camera& camera) -> GC_ERROR {
        if (camera.IsRemoved())
            return GC_ERR_TIMEOUT;
        if (Stream* stream = camera.GetStream())
            return stream->Deliver(false) ? GC_ERR_SUCCESS : GC_ERR_NO_DATA;
        camera.NextFrameNumber(false);
        camera.CountLost();
        return GC_ERR_NO_DATA;
    });
}

GC_ERROR TLICtl_InjectEventRecord(const char* sDeviceName, GC_ERROR iCode, int32_t iUnknownBuffer)
{
    return OnCamera(sDeviceName, [&](Camera& camera) -> GC_ERROR {
        Stream* stream = camera.GetStream();
        if (stream == nullptr)
            return GC_ERR_ACCESS_DENIED;
        BUFFER_HANDLE buffer = iUnknownBuffer != 0 ? NewHandleValue() : stream->TakeQueued();
        if (buffer == nullptr)
            return GC_ERR_NO_DATA;
        stream->AddRecord(buffer, iCode);
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR TLICtl_SetPacing(const char* sDeviceName, int32_t iPaced)
{
    return OnCamera(sDeviceName, [&](Camera& camera) -> GC_ERROR {
        camera.SetUnpaced(iPaced == 0);
        camera.WakeStream();
        return GC_ERR_SUCCESS;
    });
}

GC_ERROR TLICtl_GetStreamState(const char* sDeviceName, TLICtlStreamState* pState)
{
    return OnCamera(sDeviceName, [&](Camera& camera) -> GC_ERROR {
        if (pState == nullptr)
            return GC_ERR_INVALID_PARAMETER;
        const Stream* stream = camera.GetStream();
        TLICtlStreamState state{};
        state.mDeviceOpen = camera.GetOpenHandle() != nullptr;
        state.mStreamOpen = stream != nullptr;
        state.mCameraAcquiring = camera.IsAcquiring();
        if (stream != nullptr) {
            state.mStreamAcquiring = stream->IsAcquiring();
            state.mEventRegistered = stream->HasEvent();
            state.mAnnounced = stream->AnnouncedCount();
            state.mQueued = stream->QueuedCount();
            state.mPending = stream->PendingCount();
        }
        state.mFrameNumber = camera.GetFrameNumber();
        state.mDelivered = camera.GetDelivered();
        state.mLost = camera.GetLost();
        *pState = state;
        return GC_ERR_SUCCESS;
    });
}
