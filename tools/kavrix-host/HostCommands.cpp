#include "HostCommands.h"

#include "os/Profile.h"
#include "os/System.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

void PrintDebugMessage(const char* text)
{
    std::fputs(text, stderr);
}

// Prepares the system path and the driver's log settings, then brackets the
// command with initialize and finalize as a host does.
class DriverSession {
public:
    DriverSession(const DriverFunctions& driver, const HostOptions& options) : mDriver(driver)
    {
        const DebugMsgProc proc = options.logLevel >= 0 ? &PrintDebugMessage : nullptr;
        mInitialized = mDriver.initialize(options.systemPath.c_str(), proc) == 1;
    }
    ~DriverSession()
    {
        if (mInitialized) {
            mDriver.finalize();
        }
    }
    DriverSession(const DriverSession&) = delete;
    DriverSession& operator=(const DriverSession&) = delete;
    bool IsInitialized() const { return mInitialized; }

private:
    const DriverFunctions& mDriver;
    bool mInitialized = false;
};

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
        std::fprintf(stderr, "kavrix-host: initialize failed\n");
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
    std::fprintf(stderr, "kavrix-host: unknown command %s\n", options.command.c_str());
    return 2;
}
