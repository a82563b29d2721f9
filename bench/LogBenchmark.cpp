// What a Log call costs when no threshold admits its level (the per-row
// traces of a grab), against an empty function call of the same shape.
#include "diag/DriverContext.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
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
    return 0;
}
