// Single grabs one after another, the way a host asks for the next image:
// the KX-1300 at 1280x1024 with its frame rate set to 30 ("AutoFrameRate"
// "Manual", "FrameRate" 30), the driver loaded by path, the completion
// callback reading every row and calling doCVLGrab for the next image. 300
// callbacks are timed after 10 to warm up; the host has to get at least 25
// a second, against the camera's 30.
#include "support/Figures.h"
#include "support/HostDriver.h"
#include "support/HostImage.h"

#include <condition_variable>
#include <cstdio>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <string>

namespace {

using Bench::Clock;

constexpr int Width = 1280;
constexpr int Height = 1024;
constexpr int Port = 0;
constexpr int FrameRate = 30;
constexpr std::uint64_t WarmUpGrabs = 10;
constexpr std::uint64_t TimedGrabs = 300;
// Several times what 310 grabs at 30 a second take.
constexpr auto Patience = std::chrono::seconds(60);

struct Host {
    const DriverFunctions* mDriver = nullptr;
    Bench::HostImage mImage{Width, Height};
    std::mutex mLock;
    std::condition_variable mDone;
    std::uint64_t mCallbacks = 0;
    std::uint64_t mFailedRows = 0;
    std::uint64_t mRefusedGrabs = 0;
    Clock::time_point mWarm;
    Clock::time_point mLast;
};

Host sHost;

int ReceiveImage(int, int port)
{
    sHost.mFailedRows += sHost.mImage.ReadRows(*sHost.mDriver, port);
    const Clock::time_point now = Clock::now();
    std::uint64_t callbacks = 0;
    {
        std::lock_guard<std::mutex> lock(sHost.mLock);
        callbacks = ++sHost.mCallbacks;
        if (callbacks == WarmUpGrabs) {
            sHost.mWarm = now;
        }
        sHost.mLast = now;
    }
    if (callbacks < WarmUpGrabs + TimedGrabs) {
        if (sHost.mDriver->doCVLGrab(0, port) != 1) {
            ++sHost.mRefusedGrabs;
        }
    } else {
        sHost.mDone.notify_all();
    }
    return 0;
}

}

int main()
{
    try {
        Bench::HostDriver driver({{"General", "LogLevel", "1"},
                                  {Bench::Kx1300, "Width", std::to_string(Width)},
                                  {Bench::Kx1300, "Height", std::to_string(Height)},
                                  {Bench::Kx1300, "AutoFrameRate", "Manual"},
                                  {Bench::Kx1300, "FrameRate", std::to_string(FrameRate)}});
        int size[2] = {0, 0};
        driver.Open(Bench::Kx1300, Port, size);
        sHost.mDriver = &*driver;
        int automatic = -1;
        int rate = -1;
        if (size[0] != Width || size[1] != Height || driver->getProperty(0, Port, "AutoFrameRate", &automatic) != 1 ||
            automatic != 0 || driver->getProperty(0, Port, "FrameRate", &rate) != 1 || rate != FrameRate) {
            driver->closeCVLPort(0, Port);
            throw std::runtime_error("the camera did not open at 1280x1024 with a frame rate of 30");
        }
        if (driver->setCompleteCallback(0, Port, &ReceiveImage) != 1 || driver->doCVLGrab(0, Port) != 1) {
            driver->closeCVLPort(0, Port);
            throw std::runtime_error("the first grab was refused");
        }
        bool done = false;
        {
            std::unique_lock<std::mutex> lock(sHost.mLock);
            done = sHost.mDone.wait_for(lock, Patience, [] { return sHost.mCallbacks >= WarmUpGrabs + TimedGrabs; });
        }
        driver->closeCVLPort(0, Port);
        if (!done || sHost.mFailedRows != 0 || sHost.mRefusedGrabs != 0) {
            std::fprintf(stderr, "bench_singlegrab: %llu callbacks in %lld s, %llu rows not read, %llu grabs refused\n",
                         static_cast<unsigned long long>(sHost.mCallbacks), static_cast<long long>(Patience.count()),
                         static_cast<unsigned long long>(sHost.mFailedRows),
                         static_cast<unsigned long long>(sHost.mRefusedGrabs));
            return 1;
        }
        const double seconds = std::chrono::duration<double>(sHost.mLast - sHost.mWarm).count();
        const double perSecond = static_cast<double>(TimedGrabs) / seconds;
        std::printf("single grabs 1280x1024 at %d fps: %llu callbacks in %.2f s, %.2f a second, %.3f of the camera's "
                    "frame rate\n",
                    FrameRate, static_cast<unsigned long long>(TimedGrabs), seconds, perSecond, perSecond / FrameRate);
        return Bench::ReportAtLeast("single grabs, callbacks a second", perSecond, 25.0) ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_singlegrab: %s\n", e.what());
        return 2;
    }
}
