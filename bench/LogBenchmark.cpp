// What a Log call costs when no threshold admits its level (the per-row
// traces of a grab), against an empty function call of the same shape; and
// what a Log call into the file costs while the file's disk is full, against
// one whose lines only gather in memory.
#include "diag/DriverContext.h"

#include <benchmark/benchmark.h>

#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>

namespace {

int EmptyFunction(int, const char*, ...)
{
    return 0;
}

// Both are called through pointers the compiler cannot see through, so
// neither call is inlined or dropped and both pay the same call.
int (*volatile gLog)(int, const char*, ...) = &Log;
int (*volatile gEmpty)(int, const char*, ...) = &EmptyFunction;

constexpr int RowTraceLevel = 4;

void BM_LogNotAdmitted(benchmark::State& state)
{
    // The thresholds the driver starts with: level 3 to the host, 1 to the debug output.
    DriverContext& context = DriverContext::Instance();
    context.mLogLevel = 3;
    context.mDebugViewOutput = 1;
    int row = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(gLog(RowTraceLevel, "getCVLGrabRow: entering row=%d\n", row++));
    }
}

void BM_EmptyCall(benchmark::State& state)
{
    int row = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(gEmpty(RowTraceLevel, "getCVLGrabRow: entering row=%d\n", row++));
    }
}

BENCHMARK(BM_LogNotAdmitted);
BENCHMARK(BM_EmptyCall);

void LogInto(DriverContext& context, int level, const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    context.Log(level, format, args);
    va_end(args);
}

// A system path whose log file is the full device: every write fails for
// lack of space, as on a full disk.
class FullDiskFolder {
public:
    FullDiskFolder()
    {
        namespace fs = std::filesystem;
        mPath = (fs::temp_directory_path() / ("kavrix-bench-" + std::to_string(std::random_device{}()))).string();
        fs::create_directories(mPath);
        fs::create_symlink("/dev/full", fs::path(mPath) / "kavrix.log");
    }
    ~FullDiskFolder() { std::filesystem::remove_all(mPath); }
    const std::string& Path() const { return mPath; }

private:
    std::string mPath;
};

// A message as the driver logs it, passing the host's threshold and going to
// the file; no callback and no debug output, so the file is all that differs.
void LogIntoFile(benchmark::State& state, const std::string& systemPath)
{
    DriverContext context;
    context.mLogLevel = 3;
    context.mDebugViewOutput = 0;
    context.mLogIntoFile = true;
    if (!systemPath.empty()) {
        context.SetSystemPath(systemPath);
    }
    int value = 0;
    for (auto _ : state) {
        LogInto(context, 2, "Camera::SetProperty: entering property=%s value=%d\n", "ExposureTime", value++);
    }
}

void BM_LogFileOnFullDisk(benchmark::State& state)
{
    const FullDiskFolder folder;
    LogIntoFile(state, folder.Path());
}

void BM_LogFileWithoutPath(benchmark::State& state)
{
    LogIntoFile(state, "");
}

BENCHMARK(BM_LogFileOnFullDisk);
BENCHMARK(BM_LogFileWithoutPath);

// Keeps the time per iteration of each benchmark for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
                mNanoseconds[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
    }

    double Nanoseconds(const std::string& name) const
    {
        const auto found = mNanoseconds.find(name);
        return found != mNanoseconds.end() ? found->second : 0.0;
    }

private:
    std::map<std::string, double> mNanoseconds;
};

}

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double log = reporter.Nanoseconds("BM_LogNotAdmitted");
    const double empty = reporter.Nanoseconds("BM_EmptyCall");
    if (log > 0.0 && empty > 0.0) {
        std::printf("\nLog call no threshold admits: %.2f ns   empty call: %.2f ns   "
                    "difference: %.2f ns   ratio: %.2f\n", log, empty, log - empty, log / empty);
    }
    const double full = reporter.Nanoseconds("BM_LogFileOnFullDisk");
    const double memory = reporter.Nanoseconds("BM_LogFileWithoutPath");
    if (full > 0.0 && memory > 0.0) {
        std::printf("Log call into the file on a full disk: %.2f ns   lines kept in memory only: %.2f ns   "
                    "ratio: %.2f\n", full, memory, full / memory);
    }
    return 0;
}
