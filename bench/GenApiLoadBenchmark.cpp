// How long loading a real camera description into a node map takes, against
// pugixml's bare parse of the same text, for each of the four samples. The
// load has to stay within 5 times the parse.
//
// Loads and parses run in loops of their own, in several rounds spread over
// the run; the summary compares the best time of each, which other processes
// on the machine disturb least.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include <GenApi/GenApi.h>

#include "Samples.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double kAllowedRatio = 5.0;

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The best time of the iterations goes to a counter for the summary.
void KeepBest(benchmark::State& state, double best) { state.counters["best_ms"] = best; }

void BM_Load(benchmark::State& state, const GenICam::gcstring* text)
{
    double best = std::numeric_limits<double>::max();
    for (auto _ : state) {
        // Taking the map down again is not part of loading it.
        GenApi::CNodeMapRef map;
        const Clock::time_point start = Clock::now();
        map._LoadXMLFromString(*text);
        const double load = Milliseconds(start);
        best = std::min(best, load);
        state.SetIterationTime(load / 1000.0);
    }
    KeepBest(state, best);
}

void BM_Parse(benchmark::State& state, const GenICam::gcstring* text)
{
    double best = std::numeric_limits<double>::max();
    for (auto _ : state) {
        pugi::xml_document document;
        const Clock::time_point start = Clock::now();
        const pugi::xml_parse_result result = document.load_buffer(text->c_str(), text->length());
        const double parse = Milliseconds(start);
        best = std::min(best, parse);
        state.SetIterationTime(parse / 1000.0);
        benchmark::DoNotOptimize(result);
    }
    KeepBest(state, best);
}

// Keeps the best load and parse time of each sample over all rounds.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration) {
                continue;
            }
            auto& best = mBest.emplace(run.run_name.args, Best()).first->second;
            double& kept = run.run_name.function_name == "BM_Load" ? best.mLoad : best.mParse;
            kept = std::min(kept, run.counters.at("best_ms").value);
        }
    }

    struct Best {
        double mLoad = std::numeric_limits<double>::max();
        double mParse = std::numeric_limits<double>::max();
    };
    const Best* Of(const std::string& args) const
    {
        const auto found = mBest.find(args);
        return found != mBest.end() ? &found->second : nullptr;
    }

private:
    std::map<std::string, Best> mBest;
};

} // namespace

int main(int argc, char** argv)
{
    std::vector<GenICam::gcstring> texts;
    for (const char* sample : kSamples) {
        std::ifstream file(SamplePath(sample), std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "cannot read %s\n", SamplePath(sample).c_str());
            return 1;
        }
        texts.emplace_back(std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>()));
    }
    constexpr int kRounds = 5;
    for (int round = 0; round < kRounds; ++round) {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            for (const auto& kind : {std::make_pair("BM_Load", &BM_Load), std::make_pair("BM_Parse", &BM_Parse)}) {
                benchmark::RegisterBenchmark(kind.first, kind.second, &texts[i])
                    ->Arg(static_cast<int64_t>(i))
                    ->UseManualTime()
                    ->Unit(benchmark::kMillisecond)
                    ->MinTime(0.1);
            }
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    bool within = true;
    std::printf("\n");
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const SummaryReporter::Best* best = reporter.Of(std::to_string(i));
        if (!best) {
            continue;
        }
        const double ratio = best->mLoad / best->mParse;
        within = within && ratio <= kAllowedRatio;
        std::printf("%-30s load %7.3f ms   pugixml parse %7.3f ms   ratio %.2f%s\n", kSamples[i], best->mLoad,
                    best->mParse, ratio, ratio <= kAllowedRatio ? "" : "   OVER 5x");
    }
    return within ? 0 : 1;
}
