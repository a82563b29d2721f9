// The exports that concern the driver as a whole.
#include "api/ExceptionBarrier.h"
#include "camera/CameraList.h"
#include "diag/DriverContext.h"
#include "diag/HostCallbackScope.h"
#include "kavrix.h"
#include "os/System.h"

namespace {

const char DriverVersion[] = "1,0,0,11";
constexpr int MaxGrabbers = 1;
constexpr int MaxPorts = 20;

}

extern "C" {

int initialize(const char* systemPath, DebugMsgProc debugMsgProc)
{
    return RunBehindBarrier(0, [&] {
        // From inside a driver callback, an enumeration would replace the
        // list under the code that called the host: refused, changing nothing.
        if (HostCallbackScope::IsActive()) {
            Log(1, "initialize: ERROR: called from inside a driver callback\n");
            return 0;
        }
        DriverContext& context = DriverContext::Instance();
        // Path and callback come first, so that this call's own messages reach them.
        if (systemPath != nullptr && *systemPath != '\0') {
            context.SetSystemPath(systemPath);
        }
        context.SetDebugMsgProc(debugMsgProc);
        Log(2, "===============\ninitialize: \n");
        if (context.mRefCount == 0) {
            CameraList::Create()->Init();
        }
        ++context.mRefCount;
        const Os::LocalTime now = Os::Now();
        Log(1, "initialize: Kavrix camera driver V%s, refcount=%d, %d-%d-%d %d:%d:%d\n", DriverVersion,
            context.mRefCount, now.year, now.month, now.day, now.hour, now.minute, now.second);
        return 1;
    },
    [](const char* what) { Log(1, "initialize: --EXCEPTION caught : %s\n", what); },
    [] { Log(1, "initialize: Kavrix camera driver -- EXCEPTION occured\n"); });
}

int finalize(void)
{
    return RunBehindBarrier(0, [] {
        // The last finalize would destroy the list under the code that called the host.
        if (HostCallbackScope::IsActive()) {
            Log(1, "finalize: ERROR: called from inside a driver callback\n");
            return 0;
        }
        // A host timer inside the dialog's modal loop must not delete the
        // camera the dialog works on.
        if (Camera::IsConfigurationOpen()) {
            Log(1, "finalize: ERROR: configuration dialog is open\n");
            return 0;
        }
        DriverContext& context = DriverContext::Instance();
        Log(2, "finalize: entering, refcount=%d\n", context.mRefCount);
        // A finalize without a matching initialize leaves the count at 0, so
        // the next initialize enumerates again.
        if (context.mRefCount > 0) {
            --context.mRefCount;
            if (context.mRefCount == 0) {
                CameraList::Release();
            }
        }
        Log(2, "finalize: leaving, refcount=%d\n", context.mRefCount);
        return 1;
    },
    [](const char* what) { Log(1, "finalize: --EXCEPTION caught: %s\n", what); },
    [] { Log(1, "finalize: --EXCEPTION occured \n"); });
}

int setSystemPath(const char* systemPath)
{
    if (systemPath == nullptr || *systemPath == '\0') {
        return 0;
    }
    try {
        DriverContext::Instance().SetSystemPath(systemPath);
        return 1;
    } catch (...) {
        return 0;
    }
}

void setDebugMsgProc(DebugMsgProc debugMsgProc)
{
    DriverContext::Instance().SetDebugMsgProc(debugMsgProc);
}

int getCVLNoOfSupportedCameras(void)
{
    try {
        const CameraList* list = CameraList::GetInstance();
        return list != nullptr ? list->GetCount() : 0;
    } catch (...) {
        return 0;
    }
}

const char** getCVLCameraConfigNames(void)
{
    // Outside initialize and finalize: an empty list the host can still walk.
    static const char* none[] = {nullptr};
    CameraList* list = CameraList::GetInstance();
    return list != nullptr ? list->GetNames() : none;
}

int getCVLMaxNoOfGrabbers(void)
{
    return MaxGrabbers;
}

int getCVLMaxNoOfPorts(void)
{
    return MaxPorts;
}

}
