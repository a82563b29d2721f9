// The commands that work on one camera: open it, grab, stream, and read or
// write its properties, all through the driver's exports.
#pragma once

#include "DriverLibrary.h"
#include "HostOptions.h"

int OpenCommand(const DriverFunctions& driver, const HostOptions& options);
int GrabCommand(const DriverFunctions& driver, const HostOptions& options);
int ContinuousCommand(const DriverFunctions& driver, const HostOptions& options);
int PropertyCommand(const DriverFunctions& driver, const HostOptions& options);
int StatsCommand(const DriverFunctions& driver, const HostOptions& options);
