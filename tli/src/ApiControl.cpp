// The control API for tests (TLIControl.h).
#include "Call.h"
#include "Names.h"
#include "TLIControl.h"

using namespace Tli;

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
        return producer.AddCamera(*iface, sModel, sDeviceName == nullptr ? std::string() : sDeviceName);
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
