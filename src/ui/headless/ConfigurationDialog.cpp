// Systems without a window toolkit of the driver's own have no dialog.
#include "ui/ConfigurationDialog.h"

namespace ConfigurationDialog {

bool IsAvailable()
{
    return false;
}

bool ConfirmWhileGrabbing(const std::string&, int)
{
    return false;
}

bool Run(CameraParameters&, const std::string&, int)
{
    return false;
}

}
