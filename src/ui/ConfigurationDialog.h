// The modal configuration dialog, where the system has one: a property sheet
// with one page, "General", showing a camera's parameters in a property grid.
#pragma once

#include "params/CameraParameters.h"

#include <string>

namespace ConfigurationDialog {

// False on systems without a dialog.
bool IsAvailable();

// Asks whether to go on while the camera grabs; true for OK.
bool ConfirmWhileGrabbing(const std::string& title, int parentWindow);

// Runs the dialog on params until the user closes it; true for OK. An error
// of the page ends the dialog and is raised again here.
bool Run(CameraParameters& params, const std::string& title, int parentWindow);

}
