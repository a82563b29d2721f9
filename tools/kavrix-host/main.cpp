// kavrix-host: stands in for the inspection host.
#include "DriverLibrary.h"
#include "HostCommands.h"
#include "HostOptions.h"
#include "os/System.h"

#include <cstdio>
#include <string>

namespace {

// Any address inside kavrix-host, to find its folder.
void AnchorInHost() {}

}

int main(int argc, char** argv)
{
    HostOptions options;
    std::string error;
    if (!ParseHostOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "kavrix-host: %s\n\n%s", error.c_str(), HostUsage);
        return 2;
    }
    if (options.command == "help") {
        std::fputs(HostUsage, stdout);
        return 0;
    }
    if (options.driverPath.empty()) {
        options.driverPath =
            DriverLibrary::DefaultPath(Os::ModuleFolder(reinterpret_cast<const void*>(&AnchorInHost)));
    }
    DriverLibrary driver;
    if (!driver.Load(options.driverPath)) {
        std::fprintf(stderr, "kavrix-host: %s\n", driver.Error().c_str());
        return 3;
    }
    return RunHostCommand(driver.Functions(), options);
}
