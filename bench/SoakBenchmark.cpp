// A long continuous grab through the driver loaded by path, the host reading
// every row of every 640x480 image in its callback. First 1,000,000 frames of
// an unpaced camera (a frame the moment a buffer is queued): the host
// process's resident memory at frame 10,000 and at the end may differ by
// less than 1 MiB, the frame numbers (bytes 0 to 3) have no gap and the
// driver's statistics show nothing dropped. Then 60 s of the camera at its
// fastest frame rate: the producer loses no frame and the frame numbers have
// no gap.
#include "TLIControl.h"
#include "os/System.h"
#include "support/Figures.h"
#include "support/HostDriver.h"
#include "support/HostImage.h"

#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

using Bench::Clock;

constexpr int Width = 640;
constexpr int Height = 480;
constexpr int Port = 0;
constexpr std::uint64_t MemoryFrom = 10000;
constexpr std::uint64_t SoakFrames = 1000000;
constexpr double AllowedChange = 1 << 20;
constexpr auto PacedTime = std::chrono::seconds(60);
constexpr auto ProgressEvery = std::chrono::seconds(10);
// Far more than a million frames take even on a loaded machine.
constexpr auto Patience = std::chrono::minutes(30);

// The host's side: written by the callback on the driver's thread; the
// benchmark reads the counters under the lock and the rest once the camera
// is closed.
struct Host {
    const DriverFunctions* mDriver = nullptr;
    Bench::HostImage mImage{Width, Height};
    std::mutex mLock;
    std::condition_variable mArrived;
    std::uint64_t mImages = 0;
    // The benchmark is woken when this many images arrived, not before.
    std::uint64_t mWanted = 0;
    std::uint64_t mFailedRows = 0;
    // Images whose frame number is not the one after the last.
    std::uint64_t mGaps = 0;
    std::uint32_t mLastFrame = 0;
    std::size_t mResidentAtStart = 0;
    std::size_t mResidentAtEnd = 0;
};

Host sHost;

int ReceiveImage(int, int port)
{
    sHost.mFailedRows += sHost.mImage.ReadRows(*sHost.mDriver, port);
    const std::uint32_t frame = sHost.mImage.FrameNumber();
    // Frames count from 1 at the start of acquisition.
    if (frame != sHost.mLastFrame + 1) {
        ++sHost.mGaps;
    }
    sHost.mLastFrame = frame;
    std::uint64_t images = 0;
    std::uint64_t wanted = 0;
    {
        std::lock_guard<std::mutex> lock(sHost.mLock);
        images = ++sHost.mImages;
        wanted = sHost.mWanted;
    }
    if (images == MemoryFrom) {
        sHost.mResidentAtStart = Os::ResidentBytes();
    } else if (images == SoakFrames) {
        sHost.mResidentAtEnd = Os::ResidentBytes();
    }
    if (images == wanted) {
        sHost.mArrived.notify_all();
    }
    return 0;
}

std::uint64_t Images()
{
    std::lock_guard<std::mutex> lock(sHost.mLock);
    return sHost.mImages;
}

// Waits until the host has count images or the time is up, printing the
// progress; the images it has.
std::uint64_t WaitForImages(std::uint64_t count, Clock::duration time, const char* what)
{
    const Clock::time_point start = Clock::now();
    const Clock::time_point end = start + time;
    std::uint64_t images = Images();
    while (images < count && Clock::now() < end) {
        {
            std::unique_lock<std::mutex> lock(sHost.mLock);
            sHost.mArrived.wait_until(lock, std::min(end, Clock::now() + ProgressEvery),
                                      [&] { return sHost.mImages >= count; });
            images = sHost.mImages;
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("  %s: %llu images after %.0f s, %.0f a second\n", what, static_cast<unsigned long long>(images),
                    seconds, static_cast<double>(images) / seconds);
        std::fflush(stdout);
    }
    return images;
}

TLICtlStreamState StreamState()
{
    TLICtlStreamState state{};
    if (TLICtl_GetStreamState(Bench::Kx1300, &state) != GC_ERR_SUCCESS) {
        throw std::runtime_error("the producer does not tell the camera's stream state");
    }
    return state;
}

struct Outcome {
    std::uint64_t mImages = 0;
    std::uint64_t mLost = 0;
    std::optional<Bench::HostDriver::Statistics> mStatistics;
};

// Grabs continuously until count images arrived or the time is up.
Outcome Grab(bool paced, std::uint64_t count, Clock::duration time, const char* what)
{
    sHost.mImages = 0;
    sHost.mWanted = count;
    sHost.mFailedRows = 0;
    sHost.mGaps = 0;
    sHost.mLastFrame = 0;
    Bench::HostDriver driver({{"General", "LogLevel", "1"},
                              {Bench::Kx1300, "Width", std::to_string(Width)},
                              {Bench::Kx1300, "Height", std::to_string(Height)},
                              {Bench::Kx1300, "AutoFrameRate", "Auto"}});
    if (TLICtl_SetPacing(Bench::Kx1300, paced ? 1 : 0) != GC_ERR_SUCCESS) {
        throw std::runtime_error("the producer refuses the pacing");
    }
    int size[2] = {0, 0};
    driver.Open(Bench::Kx1300, Port, size);
    sHost.mDriver = &*driver;
    const std::uint64_t lostBefore = StreamState().mLost;
    if (size[0] != Width || size[1] != Height || driver->setCompleteCallback(0, Port, &ReceiveImage) != 1 ||
        driver->setProperty(0, Port, "continuous", 1) != 1) {
        driver->closeCVLPort(0, Port);
        throw std::runtime_error("the camera did not start grabbing at 640x480");
    }
    WaitForImages(count, time, what);
    Outcome outcome;
    // Taken while grabbing: a frame the stop leaves on its way is no loss.
    outcome.mStatistics = driver.Stats(Port);
    outcome.mLost = StreamState().mLost - lostBefore;
    driver->setProperty(0, Port, "continuous", 0);
    // Waits for a delivery under way: the host's side is ours afterwards.
    driver->closeCVLPort(0, Port);
    outcome.mImages = sHost.mImages;
    return outcome;
}

bool Check(const char* what, bool good)
{
    std::printf("%s: %s\n", what, good ? "yes" : "NO");
    std::fflush(stdout);
    return good;
}

bool Soak()
{
    const Outcome outcome = Grab(false, SoakFrames, Patience, "unpaced soak");
    const double growth =
        static_cast<double>(sHost.mResidentAtEnd) - static_cast<double>(sHost.mResidentAtStart);
    std::printf("soak 640x480 unpaced: %llu images, resident memory %.1f MiB at image %llu and %.1f MiB at image "
                "%llu, frame number gaps %llu, rows not read %llu, driver frames %ld dropped %ld\n",
                static_cast<unsigned long long>(outcome.mImages), sHost.mResidentAtStart / 1048576.0,
                static_cast<unsigned long long>(MemoryFrom), sHost.mResidentAtEnd / 1048576.0,
                static_cast<unsigned long long>(SoakFrames), static_cast<unsigned long long>(sHost.mGaps),
                static_cast<unsigned long long>(sHost.mFailedRows),
                outcome.mStatistics ? outcome.mStatistics->mFrames : -1L,
                outcome.mStatistics ? outcome.mStatistics->mDropped : -1L);
    bool good = Check("soak: a million images arrived", outcome.mImages >= SoakFrames);
    good = Check("soak: every row read, no gap in the frame numbers", sHost.mFailedRows == 0 && sHost.mGaps == 0) &&
           good;
    good = Check("soak: the driver dropped nothing", outcome.mStatistics && outcome.mStatistics->mDropped == 0) &&
           good;
    const bool measured = sHost.mResidentAtStart != 0 && sHost.mResidentAtEnd != 0;
    std::printf("soak: resident memory changed by %+.1f KiB from image 10,000 to the end (target: less than %.0f KiB "
                "either way)\n",
                growth / 1024, AllowedChange / 1024);
    return Check("soak: resident memory steady", measured && std::abs(growth) < AllowedChange) && good;
}

bool PacedRun()
{
    const Outcome outcome = Grab(true, ~std::uint64_t{0}, PacedTime, "paced camera");
    std::printf("paced 640x480 for %lld s: %llu images, producer lost %llu, frame number gaps %llu, rows not read "
                "%llu, driver dropped %ld\n",
                static_cast<long long>(PacedTime.count()), static_cast<unsigned long long>(outcome.mImages),
                static_cast<unsigned long long>(outcome.mLost), static_cast<unsigned long long>(sHost.mGaps),
                static_cast<unsigned long long>(sHost.mFailedRows),
                outcome.mStatistics ? outcome.mStatistics->mDropped : -1L);
    return Check("paced: nothing lost, every row read, no gap in the frame numbers",
                 outcome.mImages > 0 && outcome.mLost == 0 && sHost.mGaps == 0 && sHost.mFailedRows == 0 &&
                     outcome.mStatistics && outcome.mStatistics->mDropped == 0);
}

}

int main()
{
    try {
        const bool soak = Soak();
        const bool paced = PacedRun();
        return soak && paced ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_soak: %s\n", e.what());
        return 2;
    }
}
