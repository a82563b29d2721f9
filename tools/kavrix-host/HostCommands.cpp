#include "HostCommands.h"

#include "CameraCommands.h"
#include "DriverSession.h"

#include "os/Profile.h"
#include "os/System.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

bool PrepareSystemPath(HostOptions& options)
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (options.systemPath.empty()) {
        options.systemPath = (fs::temp_directory_path(error) / "kavrix-host").string();
    }
    fs::create_directories(options.systemPath, error);
    if (!fs::is_directory(options.systemPath)) {
        std::fprintf(stderr, "kavrix-host: cannot use the system path %s\n", options.systemPath.c_str());
        return false;
    }
    if (options.logLevel >= 0) {
        const std::string settings = options.systemPath + Os::PathSeparator + "Kavrix.ini";
        if (!Os::WriteProfileString("General", "LogLevel", std::to_string(options.logLevel), settings)) {
            std::fprintf(stderr, "kavrix-host: cannot write %s\n", settings.c_str());
            return false;
        }
    }
    return true;
}

int List(const DriverFunctions& driver, const HostOptions& options)
{
    DriverSession session(driver, options);
    if (!session.IsInitialized()) {
        return 1;
    }
    const int count = driver.getCVLNoOfSupportedCameras();
    std::printf("cameras: %d\n", count);
    const char** names = driver.getCVLCameraConfigNames();
    for (int i = 0; names != nullptr && names[i] != nullptr; ++i) {
        std::printf("  %s\n", names[i]);
    }
    std::fflush(stdout);
    return 0;
}

}

int RunHostCommand(const DriverFunctions& driver, HostOptions& options)
{
    if (!PrepareSystemPath(options)) {
        return 1;
    }
    if (options.command == "list") {
        return List(driver, options);
    }
    if (options.command == "open") {
        return OpenCommand(driver, options);
    }
    if (options.command == "grab") {
        return GrabCommand(driver, options);
    }
    if (options.command == "continuous") {
        return ContinuousCommand(driver, options);
    }
    if (options.command == "get" || options.command == "set" || options.command == "range") {
        return PropertyCommand(driver, options);
    }
    if (options.command == "stats") {
        return StatsCommand(driver, options);
    }
    std::fprintf(stderr, "kavrix-host: unknown command %s\n", options.command.c_str());
    return 2;
}
