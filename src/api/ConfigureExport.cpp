// The configuration dialog for a camera, by name.
#include "api/ExceptionBarrier.h"
#include "camera/CameraList.h"
#include "diag/DriverContext.h"
#include "diag/Text.h"
#include "kavrix.h"
#include "ui/ConfigurationDialog.h"

extern "C" int configureCamera(int parentWindow, const char* cameraName)
{
    // 0 tells the host the user accepted the dialog; 1 anything else.
    int result = 1;
    const bool found = RunBehindBarrier(true, [&] {
        Log(2, "configureCamera: entering cameraName=%s\n", Text::OrNull(cameraName));
        CameraList* list = CameraList::GetInstance();
        if (list == nullptr || !list->IsCameraAvailable(cameraName)) {
            Log(1, "configureCamera: ERROR: cannot find camera by name: %s\n", Text::OrNull(cameraName));
            result = 0;
            return false;
        }
        if (!ConfigurationDialog::IsAvailable()) {
            Log(1, "configureCamera: ERROR: no configuration dialog on this system\n");
        } else if (list->GetByName(cameraName)->Configure(parentWindow)) {
            result = 0;
        }
        return true;
    },
    [&](const char* what) {
        Log(1, "configureCamera: --EXCEPTION caught cameraName=%s: %s\n", Text::OrNull(cameraName), what);
    },
    [&] { Log(1, "configureCamera --EXCEPTION , cameraName=%s\n", Text::OrNull(cameraName)); });
    if (found) {
        Log(2, "configureCamera: leaving cameraName=%s\n", Text::OrNull(cameraName));
    }
    return result;
}
