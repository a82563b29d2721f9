#include "DriverSession.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

std::atomic<bool> sShowMessages{false};
std::mutex sStatisticsLock;
std::string sStatistics;

// The driver's debug messages: shown when asked for, and the statistics
// text kept, since a host learns a camera's counters only through it.
void ReceiveDebugMessage(const char* text)
{
    if (text == nullptr) {
        return;
    }
    if (sShowMessages) {
        std::fputs(text, stderr);
    }
    if (std::strncmp(text, "Camera statistics\n", 18) == 0) {
        std::lock_guard<std::mutex> lock(sStatisticsLock);
        sStatistics = text;
    }
}

}

DriverSession::DriverSession(const DriverFunctions& driver, const HostOptions& options) : mDriver(driver)
{
    sShowMessages = options.logLevel >= 0;
    mInitialized = mDriver.initialize(options.systemPath.c_str(), &ReceiveDebugMessage) == 1;
    if (!mInitialized) {
        std::fprintf(stderr, "kavrix-host: initialize failed\n");
    }
}

DriverSession::~DriverSession()
{
    if (mInitialized) {
        mDriver.finalize();
    }
}

std::string DriverSession::LastStatistics()
{
    std::lock_guard<std::mutex> lock(sStatisticsLock);
    return sStatistics;
}
