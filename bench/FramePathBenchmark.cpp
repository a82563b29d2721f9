// The camera's frame path on the wait thread against a bare copy of the same
// image. On every other delivery the path is timed from the start of the
// camera's ProcessEvent to the return of its image copy (the record taken,
// the image copied into the image buffer, the grab buffer queued again); on
// the deliveries between, a memcpy of the same just-filled grab buffer into
// the same image buffer is timed at the same point of the delivery. The
// camera sends each frame the moment a buffer is queued, log thresholds are 0
// and timing entries off. Three runs of 3 s per image size; the median of
// their ratios has to stay within the target.
#include "TLIControl.h"
#include "camera/CameraList.h"
#include "camera/DeliveryProbe.h"
#include "diag/DriverContext.h"
#include "support/Figures.h"
#include "support/SystemPath.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Bench::Clock;

constexpr auto RunTime = std::chrono::seconds(3);
constexpr int Runs = 3;
// The first deliveries write the fresh image buffer's pages for the first time.
constexpr std::uint64_t WarmUpDeliveries = 20;
// More samples than an unpaced camera delivers in a run.
constexpr std::size_t MaxSamples = std::size_t{1} << 20;

class AlternatingProbe final : public DeliveryProbe {
public:
    AlternatingProbe()
    {
        mPaths.reserve(MaxSamples);
        mRecords.reserve(MaxSamples);
        mCopies.reserve(MaxSamples);
    }

    void Entered() noexcept override { mEntered = Clock::now(); }

    void Copying(const unsigned char* grabBuffer, unsigned char* imageBuffer, std::size_t size) noexcept override
    {
        mBaseline = ++mDeliveries % 2 == 0;
        if (!mBaseline) {
            mCopying = Clock::now();
        } else {
            const Clock::time_point start = Clock::now();
            std::memcpy(imageBuffer, grabBuffer, size);
            Keep(mCopies, Clock::now() - start);
        }
    }

    void Copied() noexcept override
    {
        if (!mBaseline) {
            const Clock::time_point end = Clock::now();
            Keep(mPaths, end - mEntered);
            Keep(mRecords, mCopying - mEntered);
        }
    }

    // Read once the camera is closed: no delivery runs any more.
    const std::vector<double>& Paths() const { return mPaths; }
    const std::vector<double>& Copies() const { return mCopies; }
    // The part of each timed path before the copy: taking the record.
    const std::vector<double>& Records() const { return mRecords; }

private:
    void Keep(std::vector<double>& samples, Clock::duration duration)
    {
        // Room was reserved: keeping a sample allocates nothing.
        if (mDeliveries > WarmUpDeliveries && samples.size() < samples.capacity()) {
            samples.push_back(Bench::Nanoseconds(duration));
        }
    }

    Clock::time_point mEntered;
    Clock::time_point mCopying;
    std::uint64_t mDeliveries = 0;
    bool mBaseline = false;
    std::vector<double> mPaths;
    std::vector<double> mRecords;
    std::vector<double> mCopies;
};

int IgnoreImage(int, int)
{
    return 0;
}

// The driver's camera list for one run, its wait thread included.
class CameraListRun {
public:
    CameraListRun() : mList(CameraList::Create()) { mList->Init(); }
    ~CameraListRun() { CameraList::Release(); }
    CameraListRun(const CameraListRun&) = delete;
    CameraListRun& operator=(const CameraListRun&) = delete;
    CameraList* operator->() const { return mList; }

private:
    CameraList* mList;
};

struct RunFigures {
    double mPathNs;
    double mPathP99Ns;
    double mRecordNs;
    double mCopyNs;
    double mCopyP99Ns;
    double mMeanRatio;
    std::size_t mFrames;
};

RunFigures RunOnce(const char* name, int width, int height)
{
    const Bench::SystemPath systemPath({{"General", "LogLevel", "0"},
                                        {"General", "DebugViewOutput", "0"},
                                        {name, "Width", std::to_string(width)},
                                        {name, "Height", std::to_string(height)}});
    DriverContext& context = DriverContext::Instance();
    context.SetSystemPath(systemPath.Path());
    // Until the camera opens with the thresholds of its settings.
    context.mLogLevel = 0;
    context.mDebugViewOutput = 0;
    AlternatingProbe probe;
    {
        CameraListRun list;
        Camera* camera = list->GetByName(name);
        int size[2] = {0, 0};
        if (TLICtl_SetPacing(name, 0) != GC_ERR_SUCCESS || !camera->Open(0, size) || size[0] != width ||
            size[1] != height) {
            throw std::runtime_error(std::string("cannot open ") + name + " at the size asked for");
        }
        camera->SetCompleteCB(&IgnoreImage);
        DeliveryProbe::Install(&probe);
        camera->SetContinuousGrab(true);
        std::this_thread::sleep_for(RunTime);
        // Waits for a delivery under way.
        camera->Close();
        DeliveryProbe::Install(nullptr);
    }
    const double mean = Bench::Mean(probe.Copies());
    return RunFigures{Bench::Median(probe.Paths()),
                      Bench::Percentile(probe.Paths(), 0.99),
                      Bench::Median(probe.Records()),
                      Bench::Median(probe.Copies()),
                      Bench::Percentile(probe.Copies(), 0.99),
                      mean > 0 ? Bench::Mean(probe.Paths()) / mean : 0.0,
                      probe.Paths().size() + probe.Copies().size()};
}

bool Measure(const char* name, int width, int height, double target)
{
    std::vector<double> ratios;
    for (int run = 1; run <= Runs; ++run) {
        const RunFigures figures = RunOnce(name, width, height);
        const double ratio = figures.mCopyNs > 0 ? figures.mPathNs / figures.mCopyNs : 0.0;
        ratios.push_back(ratio);
        std::printf("frame path %dx%d run %d: %zu frames, path %.1f us (record taken after %.1f us), memcpy %.1f us "
                    "(medians), ratio %.3f; ratio of means %.3f; 99th percentiles: path %.1f us, memcpy %.1f us\n",
                    width, height, run, figures.mFrames, figures.mPathNs / 1000, figures.mRecordNs / 1000,
                    figures.mCopyNs / 1000, ratio, figures.mMeanRatio, figures.mPathP99Ns / 1000,
                    figures.mCopyP99Ns / 1000);
        std::fflush(stdout);
    }
    const std::string what = "frame path " + std::to_string(width) + "x" + std::to_string(height) +
                             ", path / memcpy, median of " + std::to_string(Runs) + " runs";
    return Bench::ReportAtMost(what.c_str(), Bench::Median(ratios), target);
}

}

int main()
{
    try {
        const bool large = Measure(Bench::Kx5000, 2448, 2048, 1.10);
        const bool small = Measure(Bench::Kx1300, 640, 480, 1.25);
        return large && small ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_framepath: %s\n", e.what());
        return 2;
    }
}
