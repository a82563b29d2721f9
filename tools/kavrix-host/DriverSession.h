// The driver initialized for one command, as a host does it: initialize with
// the system path and a debug callback, finalize at the end.
#pragma once

#include "DriverLibrary.h"
#include "HostOptions.h"

#include <string>

class DriverSession {
public:
    DriverSession(const DriverFunctions& driver, const HostOptions& options);
    ~DriverSession();
    DriverSession(const DriverSession&) = delete;
    DriverSession& operator=(const DriverSession&) = delete;

    bool IsInitialized() const { return mInitialized; }
    const DriverFunctions& Driver() const { return mDriver; }

    // The last "Camera statistics" message the driver sent (for PrintStats),
    // empty when none came.
    static std::string LastStatistics();

private:
    const DriverFunctions& mDriver;
    bool mInitialized = false;
};
