// A host reading a 2448x2048 image row by row inside the completion callback,
// through the driver loaded by path: every row through getCVLGrabRow into one
// contiguous host image, against one memcpy of the same bytes into the same
// host image, and against a row-sized memcpy per row into the same host image
// (what the call costs beyond its copy), on callbacks taking turns in the
// same run. The row traces (level 4) are off. Three runs of 3 s; the median
// of their ratios against the one memcpy has to stay within the target.
//
// The driver's image buffer is out of a host's reach, so the memcpy reads a
// stand-in holding the same image: the callback first fills it (untimed)
// the way the delivery has just filled the image buffer, written by this
// thread an instant ago, and then copies it into the host image.
#include "support/Figures.h"
#include "support/HostDriver.h"
#include "support/HostImage.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Bench::Clock;

constexpr int Width = 2448;
constexpr int Height = 2048;
constexpr int Port = 0;
constexpr auto RunTime = std::chrono::seconds(3);
constexpr int Runs = 3;
constexpr std::uint64_t WarmUpImages = 4;
constexpr std::size_t MaxSamples = 100000;

// The host's side, used by the callback on the driver's thread and read by
// the benchmark once the camera is closed.
struct Host {
    const DriverFunctions* mDriver = nullptr;
    Bench::HostImage mImage{Width, Height};
    Bench::HostImage mStandIn{Width, Height};
    std::uint64_t mImages = 0;
    std::uint64_t mFailedRows = 0;
    std::vector<double> mRowReads;
    std::vector<double> mCopies;
    std::vector<double> mRowCopies;
};

Host sHost;

int ReceiveImage(int, int port)
{
    const bool timed = ++sHost.mImages > WarmUpImages && sHost.mRowReads.size() < MaxSamples;
    const std::uint64_t turn = sHost.mImages % 3;
    if (turn == 1) {
        const Clock::time_point start = Clock::now();
        sHost.mFailedRows += sHost.mImage.ReadRows(*sHost.mDriver, port);
        if (timed) {
            sHost.mRowReads.push_back(Bench::Nanoseconds(Clock::now() - start));
        }
        return 0;
    }
    sHost.mFailedRows += sHost.mStandIn.ReadRows(*sHost.mDriver, port);
    const Clock::time_point start = Clock::now();
    if (turn == 2) {
        std::memcpy(sHost.mImage.Data(), sHost.mStandIn.Data(), sHost.mImage.Size());
    } else {
        for (int row = 0; row < Height; ++row) {
            std::memcpy(sHost.mImage.Data() + static_cast<std::size_t>(row) * Width,
                        sHost.mStandIn.Data() + static_cast<std::size_t>(row) * Width, Width);
        }
    }
    if (timed) {
        (turn == 2 ? sHost.mCopies : sHost.mRowCopies).push_back(Bench::Nanoseconds(Clock::now() - start));
    }
    return 0;
}

struct RunFigures {
    double mRowReadsNs;
    double mCopyNs;
    double mRowCopiesNs;
    std::uint64_t mImages;
};

RunFigures RunOnce()
{
    sHost.mImages = 0;
    sHost.mFailedRows = 0;
    sHost.mRowReads.clear();
    sHost.mCopies.clear();
    sHost.mRowCopies.clear();
    sHost.mRowReads.reserve(MaxSamples);
    sHost.mCopies.reserve(MaxSamples);
    sHost.mRowCopies.reserve(MaxSamples);

    Bench::HostDriver driver({{"General", "LogLevel", "3"},
                              {Bench::Kx5000, "Width", std::to_string(Width)},
                              {Bench::Kx5000, "Height", std::to_string(Height)}});
    int size[2] = {0, 0};
    driver.Open(Bench::Kx5000, Port, size);
    sHost.mDriver = &*driver;
    if (size[0] != Width || size[1] != Height || driver->setCompleteCallback(0, Port, &ReceiveImage) != 1 ||
        driver->setProperty(0, Port, "continuous", 1) != 1) {
        driver->closeCVLPort(0, Port);
        throw std::runtime_error("the camera did not start grabbing at 2448x2048");
    }
    std::this_thread::sleep_for(RunTime);
    // Waits for a delivery under way: the host's side is ours afterwards.
    driver->closeCVLPort(0, Port);
    if (sHost.mFailedRows != 0) {
        throw std::runtime_error(std::to_string(sHost.mFailedRows) + " rows could not be read");
    }
    return RunFigures{Bench::Median(sHost.mRowReads), Bench::Median(sHost.mCopies), Bench::Median(sHost.mRowCopies),
                      sHost.mImages};
}

}

int main()
{
    try {
        std::vector<double> ratios;
        for (int run = 1; run <= Runs; ++run) {
            const RunFigures figures = RunOnce();
            const double ratio = figures.mCopyNs > 0 ? figures.mRowReadsNs / figures.mCopyNs : 0.0;
            ratios.push_back(ratio);
            std::printf("row reads %dx%d run %d: %llu images, %d getCVLGrabRow calls %.1f us, one memcpy %.1f us, "
                        "%d row memcpys %.1f us (medians), ratio %.3f, %.1f ns per call beyond a row's memcpy\n",
                        Width, Height, run, static_cast<unsigned long long>(figures.mImages), Height,
                        figures.mRowReadsNs / 1000, figures.mCopyNs / 1000, Height, figures.mRowCopiesNs / 1000, ratio,
                        (figures.mRowReadsNs - figures.mRowCopiesNs) / Height);
            std::fflush(stdout);
        }
        const bool met = Bench::ReportAtMost("row reads 2448x2048, getCVLGrabRow of every row / memcpy, median of "
                                             "3 runs",
                                             Bench::Median(ratios), 1.3);
        return met ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_rowread: %s\n", e.what());
        return 2;
    }
}
