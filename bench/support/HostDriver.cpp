#include "support/HostDriver.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <stdexcept>

namespace Bench {

namespace {

std::mutex sStatisticsLock;
std::string sStatistics;

// Only the statistics text is kept: it is how a host learns the counters.
void ReceiveDebugMessage(const char* text)
{
    static const char prefix[] = "Camera statistics\n";
    if (text != nullptr && std::strncmp(text, prefix, sizeof prefix - 1) == 0) {
        std::lock_guard<std::mutex> lock(sStatisticsLock);
        sStatistics = text;
    }
}

}

HostDriver::HostDriver(std::initializer_list<Setting> settings) : mSystemPath(settings)
{
    if (mDriver->initialize(mSystemPath.Path().c_str(), &ReceiveDebugMessage) != 1) {
        throw std::runtime_error("initialize failed");
    }
}

HostDriver::~HostDriver()
{
    mDriver->finalize();
}

void HostDriver::Open(const char* camera, int port, int* size)
{
    if (mDriver->openCVLPort(0, port, camera, size) != 1) {
        throw std::runtime_error(std::string("cannot open ") + camera);
    }
}

std::optional<HostDriver::Statistics> HostDriver::Stats(int port)
{
    {
        std::lock_guard<std::mutex> lock(sStatisticsLock);
        sStatistics.clear();
    }
    if (mDriver->setProperty(0, port, "PrintStats", 1) != 1) {
        return std::nullopt;
    }
    std::lock_guard<std::mutex> lock(sStatisticsLock);
    Statistics statistics;
    if (std::sscanf(sStatistics.c_str(), "Camera statistics\nFrames:\t\t%ld\nDropped:\t\t%ld", &statistics.mFrames,
                    &statistics.mDropped) != 2) {
        return std::nullopt;
    }
    return statistics;
}

}
