// The configuration dialog on a copy of the camera's parameters: accepted
// values are saved and reach the camera at its next open.
#include "camera/Camera.h"

#include "diag/DriverContext.h"
#include "params/Param.h"
#include "ui/ConfigurationDialog.h"

#include <atomic>
#include <cstdio>
#include <memory>

namespace {

std::atomic<int> sOpenDialogs{0};

// Counts the dialogs on screen while it lives.
class OpenDialog {
public:
    OpenDialog() { ++sOpenDialogs; }
    ~OpenDialog() { --sOpenDialogs; }
    OpenDialog(const OpenDialog&) = delete;
    OpenDialog& operator=(const OpenDialog&) = delete;
};

template <typename T>
void SetValue(CameraParameters& params, const char* name, T value)
{
    if (auto* param = dynamic_cast<Param<T>*>(params.GetParam(name))) {
        param->mValue = value;
    }
}

}

bool Camera::IsConfigurationOpen()
{
    return sOpenDialogs > 0;
}

bool Camera::Configure(int parentWindow)
{
    Log(2, "Camera::Configure: entering\n");
    char title[512];
    std::snprintf(title, sizeof title, "Configure camera on port #%d: %s", mPort + 1, mName.c_str());
    if (mGrabbing && !ConfigurationDialog::ConfirmWhileGrabbing(title, parentWindow)) {
        return false;
    }
    std::unique_ptr<CameraParameters> copy;
    {
        Control control(*this);
        copy = std::make_unique<CameraParameters>(mParameters);
    }
    // The dialog shows the log settings in force, whichever camera set them.
    const DriverContext& context = DriverContext::Instance();
    SetValue<int>(*copy, "LogLevel", context.mLogLevel);
    SetValue<bool>(*copy, "LogIntoFile", context.mLogIntoFile);
    SetValue<int>(*copy, "DebugViewOutput", context.mDebugViewOutput);
    bool accepted = false;
    {
        const OpenDialog open;
        accepted = ConfigurationDialog::Run(*copy, title, parentWindow);
    }
    if (accepted) {
        copy->WriteSettings();
        Control control(*this);
        mParameters = *copy;
    }
    Log(2, "Camera::Configure: leaving\n");
    return accepted;
}
