// Opening and closing a camera on a host port, and its completion callback.
#include "api/ExceptionBarrier.h"
#include "camera/CameraList.h"
#include "diag/DriverContext.h"
#include "diag/Text.h"
#include "kavrix.h"

#include <cctype>
#include <cstring>

namespace {

bool EqualsIgnoringCase(const char* a, const char* b)
{
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

// Names a host shows for a port with no camera chosen.
bool IsUndefinedCamera(const char* name)
{
    return name == nullptr || *name == '\0' || EqualsIgnoringCase(name, "Undefined") ||
           EqualsIgnoringCase(name, "Udefinert");
}

}

extern "C" {

int openCVLPort(int grabberNo, int portNo, const char* cameraName, int* size)
{
    return RunBehindBarrier(0, [&] {
        if (size != nullptr) {
            size[0] = 0;
            size[1] = 0;
        }
        Log(2, "openCVLPort: entering grabberNo=%d, portNo=%d, cameraName=%s\n", grabberNo, portNo,
            Text::OrNull(cameraName));
        if (IsUndefinedCamera(cameraName)) {
            Log(1, "openCVLPort: ERROR: undefined camera, grabberNo=%d, portNo=%d, cameraName=%s\n", grabberNo,
                portNo, Text::OrNull(cameraName));
            return 0;
        }
        CameraList* list = CameraList::GetInstance();
        if (list == nullptr || !list->IsCameraAvailable(cameraName)) {
            Log(1, "openCVLPort: ERROR: cannot find camera by name:%s\n", cameraName);
            return 0;
        }
        Camera* camera = list->GetByName(cameraName);
        // Later calls find the camera by port alone: one camera per port, and
        // only ports the host is told of (-1 marks an unbound camera).
        if (portNo < 0 || portNo >= getCVLMaxNoOfPorts()) {
            Log(1, "openCVLPort: ERROR: port %d is not a valid port\n", portNo);
            return 0;
        }
        if (!list->BindPort(*camera, portNo)) {
            return 0;
        }
        if (camera->Open(portNo, size)) {
            Log(2, "openCVLPort: leaving -- Camera %s OPENED on port %d\n", camera->GetName().c_str(), portNo);
            return 1;
        }
        Log(1, "openCVLPort: ERROR: camera not opened, grabberNo=%d, portNo=%d, cameraName=%s\n", grabberNo, portNo,
            cameraName);
        return 0;
    },
    [&](const char* what) {
        Log(1, "openCVLPort: --EXCEPTION caught grabberNo=%d, portNo=%d: %s\n", grabberNo, portNo, what);
    },
    [&] {
        Log(1, "openCVLPort: --EXCEPTION caught grabberNo=%d, portNo=%d, cameraName=%s\n", grabberNo, portNo,
            Text::OrNull(cameraName));
    });
}

void closeCVLPort(int grabberNo, int portNo)
{
    RunBehindBarrier(0, [&] {
        Log(2, "closeCVLPort: entering grabberNo=%d, portNo=%d\n", grabberNo, portNo);
        CameraList::CameraOnPort(portNo)->CloseFromHost();
        return 0;
    },
    [&](const char* what) {
        Log(1, "closeCVLPort: --EXCEPTION caught  grabberNo=%d, portNo=%d: %s\n", grabberNo, portNo, what);
    },
    [&] { Log(1, "closeCVLPort: --EXCEPTION caught  grabberNo=%d, portNo=%d\n", grabberNo, portNo); });
    Log(2, "closeCVLPort: leaving grabberNo=%d, portNo=%d\n", grabberNo, portNo);
}

int setCompleteCallback(int grabberNo, int portNo, CompleteCallback callback)
{
    return RunBehindBarrier(0, [&] {
        Log(2, "setCompleteCallback: entering grabberNo=%d   portNo=%d\n", grabberNo, portNo);
        CameraList::CameraOnPort(portNo)->SetCompleteCB(callback);
        Log(2, "setCompleteCallback: leaving grabberNo=%d   portNo=%d\n", grabberNo, portNo);
        return 1;
    },
    [&](const char* what) {
        Log(1, "setCompleteCallback: --EXCEPTION caught grabberNo=%d, portNo=%d: %s\n", grabberNo, portNo, what);
    },
    [] { Log(1, "setCompleteCallback: --EXCEPTION caught \n"); });
}

}
