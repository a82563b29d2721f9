// The driver loaded the way the host loads it: by path, every export resolved
// by name.
#pragma once

#include "kavrix.h"
#include "os/SharedLibrary.h"

#include <string>

struct DriverFunctions {
    decltype(&::initialize) initialize = nullptr;
    decltype(&::finalize) finalize = nullptr;
    decltype(&::setSystemPath) setSystemPath = nullptr;
    decltype(&::setDebugMsgProc) setDebugMsgProc = nullptr;
    decltype(&::getCVLNoOfSupportedCameras) getCVLNoOfSupportedCameras = nullptr;
    decltype(&::getCVLCameraConfigNames) getCVLCameraConfigNames = nullptr;
    decltype(&::getCVLMaxNoOfGrabbers) getCVLMaxNoOfGrabbers = nullptr;
    decltype(&::getCVLMaxNoOfPorts) getCVLMaxNoOfPorts = nullptr;
    decltype(&::openCVLPort) openCVLPort = nullptr;
    decltype(&::closeCVLPort) closeCVLPort = nullptr;
    decltype(&::doCVLGrab) doCVLGrab = nullptr;
    decltype(&::getCVLGrabRow) getCVLGrabRow = nullptr;
    decltype(&::setHWTrigger) setHWTrigger = nullptr;
    decltype(&::setCompleteCallback) setCompleteCallback = nullptr;
    decltype(&::getPropertyRange) getPropertyRange = nullptr;
    decltype(&::getProperty) getProperty = nullptr;
    decltype(&::setProperty) setProperty = nullptr;
    decltype(&::configureCamera) configureCamera = nullptr;
};

class DriverLibrary {
public:
    // False with Error() set when the library or one of its exports is missing.
    bool Load(const std::string& path);
    const DriverFunctions& Functions() const { return mFunctions; }
    const std::string& Error() const { return mError; }

    // The driver's file beside the given folder: Kavrix.dll / libkavrix.so.
    static std::string DefaultPath(const std::string& folder);

private:
    Os::SharedLibrary mLibrary;
    DriverFunctions mFunctions;
    std::string mError;
};
