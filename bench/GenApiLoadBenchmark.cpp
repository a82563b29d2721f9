// How long loading a real camera description into a node map takes, against
// pugixml's bare parse of the same text, for each of the four samples. The
// load has to stay within 5 times the parse.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include <GenApi/GenApi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double kAllowedRatio = 5.0;

const char* const kSamples[] = {"Basler-acA1300-60gm.xml", "FLIR_BFLY_PGE_13H2M.xml", "Mikrotron_CXP_MC206xS11.xml",
                                "Teledyne_ShadoBox.xml"};

// The samples folder: under KAVRIX_SOURCE_DIR when set, else beside this source file.
std::string SamplePath(const std::string& file)
{
    if (const char* root = std::getenv("KAVRIX_SOURCE_DIR")) {
        return std::string(root) + "/genapi/tests/samples/" + file;
    }
    std::string here = __FILE__;
    here.erase(here.find_last_of("/\\") + 1);
    return here + "../genapi/tests/samples/" + file;
}

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Only the load is timed: taking the map down again is not part of it.
void BM_Load(benchmark::State& state, const GenICam::gcstring* text)
{
    for (auto _ : state) {
        GenApi::CNodeMapRef map;
        const Clock::time_point start = Clock::now();
        map._LoadXMLFromString(*text);
        state.SetIterationTime(Seconds(start));
    }
}

void BM_Parse(benchmark::State& state, const GenICam::gcstring* text)
{
    for (auto _ : state) {
        pugi::xml_document document;
        const Clock::time_point start = Clock::now();
        const pugi::xml_parse_result result = document.load_buffer(text->c_str(), text->length());
        state.SetIterationTime(Seconds(start));
        benchmark::DoNotOptimize(result);
    }
}

// Keeps the median time of each benchmark for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                // Reported in the benchmarks' unit, milliseconds.
                mMilliseconds[run.run_name.function_name + "/" + run.run_name.args] = run.GetAdjustedRealTime();
            }
        }
    }

    double Milliseconds(const std::string& name) const
    {
        const auto found = mMilliseconds.find(name);
        return found != mMilliseconds.end() ? found->second : 0.0;
    }

private:
    std::map<std::string, double> mMilliseconds;
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
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (const auto& kind : {std::make_pair("BM_Load", &BM_Load), std::make_pair("BM_Parse", &BM_Parse)}) {
            benchmark::RegisterBenchmark(kind.first, kind.second, &texts[i])
                ->Arg(static_cast<int64_t>(i))
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond)
                ->Repetitions(5)
                ->ReportAggregatesOnly(true);
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
        const double load = reporter.Milliseconds("BM_Load/" + std::to_string(i));
        const double parse = reporter.Milliseconds("BM_Parse/" + std::to_string(i));
        if (load <= 0.0 || parse <= 0.0) {
            continue;
        }
        const double ratio = load / parse;
        within = within && ratio <= kAllowedRatio;
        std::printf("%-30s load %7.3f ms   pugixml parse %7.3f ms   ratio %.2f%s\n", kSamples[i], load, parse, ratio,
                    ratio <= kAllowedRatio ? "" : "   OVER 5x");
    }
    return within ? 0 : 1;
}
