// Grabbing and reading the image row by row.
#include "api/ExceptionBarrier.h"
#include "camera/CameraList.h"
#include "diag/DriverContext.h"
#include "kavrix.h"

#include <cstring>

extern "C" {

int doCVLGrab(int grabberNo, int portNo)
{
    return RunBehindBarrier(0, [&] {
        Log(2, "doCVLGrab entering grabberNo=%d portNo=%d\n", grabberNo, portNo);
        // Refused when the wait thread can serve no more cameras: no image would come.
        if (!CameraList::CameraOnPort(portNo)->Grab()) {
            return 0;
        }
        Log(2, "doCVLGrab: leaving grabberNo=%d portNo=%d\n", grabberNo, portNo);
        return 1;
    },
    [&](const char* what) {
        Log(1, "doCVLGrab: --EXCEPTION caught  grabberNo=%d, portNo=%d: %s\n", grabberNo, portNo, what);
    },
    [&] { Log(1, "doCVLGrab: --EXCEPTION caught  grabberNo=%d portNo=%d\n", grabberNo, portNo); });
}

int getCVLGrabRow(int grabberNo, int portNo, unsigned char* destination, int row, int firstColumn, int lastColumn)
{
    return RunBehindBarrier(0, [&] {
        Log(4, "getCVLGrabRow: entering row=%d  grabberNo=%d  portNo=%d\n", row, grabberNo, portNo);
        Camera* camera = CameraList::CameraOnPort(portNo);
        const unsigned char* source = camera->GetRow(row, destination);
        if (source == nullptr) {
            return 0;
        }
        // The copy starts at column 0 of the row; the columns only give the
        // count.
        long long count = (static_cast<long long>(lastColumn) - firstColumn + 1) * (camera->GetBitsPerPixel() / 8);
        const int rowSize = camera->GetRowSize();
        if (destination == nullptr || count < 0) {
            Log(1, "getCVLGrabRow: ERROR: columns %d to %d do not fit a row of %d bytes, portNo=%d\n", firstColumn,
                lastColumn, rowSize, portNo);
            return 0;
        }
        // A last column at the width is a common slip: the host still gets
        // the whole row.
        if (count > rowSize) {
            if (camera->FirstRowCutOfImage()) {
                Log(1, "getCVLGrabRow: WARNING: columns %d to %d do not fit a row of %d bytes; the rows of this image "
                       "are cut to %d bytes, portNo=%d\n", firstColumn, lastColumn, rowSize, rowSize, portNo);
            }
            count = rowSize;
        }
        std::memcpy(destination, source, static_cast<std::size_t>(count));
        Log(4, "getCVLGrabRow: leaving row=%d  grabberNo=%d  portNo=%d\n", row, grabberNo, portNo);
        return 1;
    },
    [&](const char* what) {
        Log(1, "getCVLGrabRow: --EXCEPTION caught grabberNo=%d, portNo=%d: %s\n", grabberNo, portNo, what);
    },
    [] { Log(1, "getCVLGrabRow: --EXCEPTION caught \n"); });
}

int setHWTrigger(int grabberNo, int portNo)
{
    // Trigger behaviour is set through the camera's parameters; the host's
    // call only has to succeed.
    return RunBehindBarrier(0, [] {
        Log(2, "setHWTrigger: ");
        return 1;
    },
    [&](const char* what) {
        Log(1, "setHWTrigger: --EXCEPTION caught grabberNo=%d, portNo=%d: %s\n", grabberNo, portNo, what);
    },
    [] { Log(1, "setHWTrigger: --EXCEPTION caught \n"); });
}

}
