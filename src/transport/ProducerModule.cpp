#include "transport/ProducerModule.h"

#include "os/System.h"
#include "transport/CameraError.h"

#include <vector>

namespace Kavrix {

namespace {

const char ProducerBaseName[] = "tli";

// An address inside the driver, to find the driver's own folder.
void AnchorInDriver() {}

void NoteMissing(bool found, const char* name, std::string& missing)
{
    if (!found) {
        missing += std::string(missing.empty() ? "" : ", ") + name;
    }
}

}

void ProducerModule::Load()
{
    if (mLibrary.IsLoaded()) {
        return;
    }
    const std::string fileName = Os::SharedLibrary::FileName(ProducerBaseName);
    std::vector<std::string> candidates;
    if (auto configured = Os::GetEnvironment("KAVRIX_TLI"); configured && !configured->empty()) {
        candidates.push_back(*configured);
    } else {
        const std::string folder = Os::ModuleFolder(reinterpret_cast<const void*>(&AnchorInDriver));
        if (!folder.empty()) {
            candidates.push_back(folder + Os::PathSeparator + fileName);
        }
        candidates.push_back(fileName);
    }

    std::string failures;
    for (const std::string& candidate : candidates) {
        if (mLibrary.Load(candidate)) {
            mPath = candidate;
            break;
        }
        failures += "\n  " + mLibrary.LastError();
    }
    if (!mLibrary.IsLoaded()) {
        throw CameraError("Library::Open: Failed to load the producer library " + fileName + ":" + failures);
    }
    try {
        Resolve();
    } catch (...) {
        mLibrary.Unload();
        mApi = ProducerApi();
        throw;
    }
}

void ProducerModule::Resolve()
{
    std::string missing;
#define KAVRIX_RESOLVE(operation) NoteMissing(mLibrary.Resolve(#operation, mApi.operation), #operation, missing)
    KAVRIX_RESOLVE(TLOpen);
    KAVRIX_RESOLVE(TLClose);
    KAVRIX_RESOLVE(TLGetNumInterfaces);
    KAVRIX_RESOLVE(TLGetInterfaceName);
    KAVRIX_RESOLVE(TLOpenInterface);
    KAVRIX_RESOLVE(TLCloseInterface);
    KAVRIX_RESOLVE(TLGetNumDevices);
    KAVRIX_RESOLVE(TLGetDeviceName);
    KAVRIX_RESOLVE(TLOpenDevice);
    KAVRIX_RESOLVE(DevClose);
    KAVRIX_RESOLVE(DevGetInfo);
    KAVRIX_RESOLVE(GCGetURL);
    KAVRIX_RESOLVE(GCReadData);
    KAVRIX_RESOLVE(GCWriteData);
    KAVRIX_RESOLVE(DevCreateDataStream);
    KAVRIX_RESOLVE(DSClose);
    KAVRIX_RESOLVE(DSAnnounceBuffer);
    KAVRIX_RESOLVE(DSRevokeBuffer);
    KAVRIX_RESOLVE(DSQueueBuffer);
    KAVRIX_RESOLVE(DSStartAcquisition);
    KAVRIX_RESOLVE(DSStopAcquisition);
    KAVRIX_RESOLVE(GCRegisterEvent);
    KAVRIX_RESOLVE(GCGetEventData);
    KAVRIX_RESOLVE(GCUnregisterEvent);
#undef KAVRIX_RESOLVE
    if (!missing.empty()) {
        throw CameraError("Library::Open: The producer library " + mPath + " lacks the operations: " + missing);
    }
    // What a network producer adds; a producer without them works all the same.
    mLibrary.Resolve("GCGetLastError", mApi.GCGetLastError);
    mLibrary.Resolve("DSGetInfo", mApi.DSGetInfo);
    mLibrary.Resolve("DSGetBufferInfo", mApi.DSGetBufferInfo);
    SetProducerErrorSource(mApi.GCGetLastError);
}

ProducerModule::~ProducerModule()
{
    if (mLibrary.IsLoaded()) {
        SetProducerErrorSource(nullptr);
    }
}

}
