// The driver as the inspection host has it: loaded by path with every export
// resolved by name, initialized over a system path of the benchmark's own
// with the given settings, finalized and unloaded at the end.
#pragma once

#include "support/LoadedDriver.h"
#include "support/SystemPath.h"

#include <initializer_list>
#include <optional>
#include <string>

namespace Bench {

class HostDriver {
public:
    // Raises when the driver cannot be loaded or initialized.
    explicit HostDriver(std::initializer_list<Setting> settings);
    ~HostDriver();
    HostDriver(const HostDriver&) = delete;
    HostDriver& operator=(const HostDriver&) = delete;

    const DriverFunctions& operator*() const { return *mDriver; }
    const DriverFunctions* operator->() const { return &*mDriver; }

    // openCVLPort; size receives width and height. Raises when it fails.
    void Open(const char* camera, int port, int* size);

    struct Statistics {
        long mFrames = -1;
        long mDropped = -1;
    };
    // The camera's counters from its "PrintStats" message; nothing when the
    // message did not come (LogLevel 0 keeps it back).
    std::optional<Statistics> Stats(int port);

private:
    SystemPath mSystemPath;
    TestSupport::LoadedDriver mDriver;
};

}
