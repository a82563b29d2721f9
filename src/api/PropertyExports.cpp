// Camera properties by name.
#include "api/ExceptionBarrier.h"
#include "camera/CameraList.h"
#include "diag/DriverContext.h"
#include "diag/Text.h"
#include "kavrix.h"

extern "C" {

int getPropertyRange(int grabberNo, int portNo, const char* propertyName, int* minimum, int* maximum)
{
    return RunBehindBarrier(0, [&] {
        Log(2, "getPropertyRange: entering grabberNo=%d   portNo=%d\n", grabberNo, portNo);
        if (!CameraList::CameraOnPort(portNo)->GetRange(propertyName, minimum, maximum)) {
            return 0;
        }
        Log(2, "getPropertyRange: leaving grabberNo=%d   portNo=%d\n", grabberNo, portNo);
        return 1;
    },
    [&](const char* what) {
        Log(1, "getPropertyRange: --EXCEPTION caught grabberNo=%d, portNo=%d: %s\n", grabberNo, portNo, what);
    },
    [] { Log(1, "getPropertyRange: --EXCEPTION caught \n"); });
}

int getProperty(int grabberNo, int portNo, const char* propertyName, int* value)
{
    return RunBehindBarrier(0, [&] {
        Log(3, "getProperty: portNo=%d, prop=%s\n", portNo, Text::OrNull(propertyName));
        return CameraList::CameraOnPort(portNo)->GetProperty(propertyName, value) ? 1 : 0;
    },
    [&](const char* what) {
        Log(1, "getProperty: --EXCEPTION caught grabberNo=%d, portNo=%d, property=%s: %s\n", grabberNo, portNo,
            Text::OrNull(propertyName), what);
    },
    [] { Log(1, "--EXCEPTION caught at getProperty\n"); });
}

int setProperty(int grabberNo, int portNo, const char* propertyName, int value)
{
    return RunBehindBarrier(0, [&] {
        Log(3, "setProperty: portNo=%d\n", portNo);
        return CameraList::CameraOnPort(portNo)->SetProperty(propertyName, value) ? 1 : 0;
    },
    [&](const char* what) {
        Log(1, "setProperty: --EXCEPTION caught grabberNo=%d, portNo=%d, property=%s, value=%d: %s\n", grabberNo,
            portNo, Text::OrNull(propertyName), value, what);
    },
    [] { Log(1, "setProperty: --EXCEPTION caught \n"); });
}

}
