// The driver library loaded the way the host loads it, fresh for each test
// and unloaded afterwards.
#pragma once

#include "DriverLibrary.h"

namespace TestSupport {

class LoadedDriver {
public:
    LoadedDriver();
    const DriverFunctions& operator*() const { return mLibrary.Functions(); }
    const DriverFunctions* operator->() const { return &mLibrary.Functions(); }

private:
    DriverLibrary mLibrary;
};

}
