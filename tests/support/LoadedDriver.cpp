#include "support/LoadedDriver.h"

#include "os/System.h"

#include <stdexcept>

namespace TestSupport {

namespace {

void AnchorInTest() {}

}

LoadedDriver::LoadedDriver()
{
    const std::string path =
        DriverLibrary::DefaultPath(Os::ModuleFolder(reinterpret_cast<const void*>(&AnchorInTest)));
    if (!mLibrary.Load(path)) {
        throw std::runtime_error(mLibrary.Error());
    }
}

}
