// What kavrix-host does with a loaded driver.
#pragma once

#include "DriverLibrary.h"
#include "HostOptions.h"

// The process exit status: 0 when the command did its job.
int RunHostCommand(const DriverFunctions& driver, HostOptions& options);
