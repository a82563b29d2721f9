#include "DriverLibrary.h"

#include "os/System.h"

namespace {

void NoteMissing(bool found, const char* name, std::string& missing)
{
    if (!found) {
        missing += std::string(missing.empty() ? "" : ", ") + name;
    }
}

}

bool DriverLibrary::Load(const std::string& path)
{
    if (!mLibrary.Load(path)) {
        mError = "cannot load the driver: " + mLibrary.LastError();
        return false;
    }
    std::string missing;
#define KAVRIX_HOST_RESOLVE(name) NoteMissing(mLibrary.Resolve(#name, mFunctions.name), #name, missing)
    KAVRIX_HOST_RESOLVE(initialize);
    KAVRIX_HOST_RESOLVE(finalize);
    KAVRIX_HOST_RESOLVE(setSystemPath);
    KAVRIX_HOST_RESOLVE(setDebugMsgProc);
    KAVRIX_HOST_RESOLVE(getCVLNoOfSupportedCameras);
    KAVRIX_HOST_RESOLVE(getCVLCameraConfigNames);
    KAVRIX_HOST_RESOLVE(getCVLMaxNoOfGrabbers);
    KAVRIX_HOST_RESOLVE(getCVLMaxNoOfPorts);
    KAVRIX_HOST_RESOLVE(openCVLPort);
    KAVRIX_HOST_RESOLVE(closeCVLPort);
    KAVRIX_HOST_RESOLVE(doCVLGrab);
    KAVRIX_HOST_RESOLVE(getCVLGrabRow);
    KAVRIX_HOST_RESOLVE(setHWTrigger);
    KAVRIX_HOST_RESOLVE(setCompleteCallback);
    KAVRIX_HOST_RESOLVE(getPropertyRange);
    KAVRIX_HOST_RESOLVE(getProperty);
    KAVRIX_HOST_RESOLVE(setProperty);
    KAVRIX_HOST_RESOLVE(configureCamera);
#undef KAVRIX_HOST_RESOLVE
    if (!missing.empty()) {
        mError = "the driver " + path + " lacks the exports: " + missing;
        mLibrary.Unload();
        return false;
    }
    return true;
}

std::string DriverLibrary::DefaultPath(const std::string& folder)
{
#if defined(_WIN32)
    const std::string file = "Kavrix.dll";
#else
    const std::string file = "libkavrix.so";
#endif
    return folder.empty() ? file : folder + Os::PathSeparator + file;
}
