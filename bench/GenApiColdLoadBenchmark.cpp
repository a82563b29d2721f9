// The first load of a camera description in a fresh process against loading
// it again in the same process. A host opens a camera in a fresh process, so
// the first load is the one users wait for.
//
// Each sample is loaded in kProcesses fresh processes (this program started
// again with --child). A child reads the description into memory, then times
// one load as its first node-map work (cold) and then kWarmLoads loads into
// fresh maps (warm, their median). Times are processor time: other work on
// the machine disturbs it far less than the wall clock, and the load runs on
// one thread, so on an idle machine the two agree. The summary gives, per
// sample, the median over the processes of each, and their ratio; the
// largest sample's cold load has to stay within 1.5 times its warm one.
#include <GenApi/GenApi.h>

#include "Samples.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kProcesses = 21;
constexpr int kWarmLoads = 10;
constexpr double kAllowedRatio = 1.5;

// The target applies to the largest, the Basler description (1 MB).
constexpr int kLargest = 0;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

double TimedLoad(const GenICam::gcstring& text)
{
    // The text is handed over, as a host hands over what it read from the
    // camera; taking the map down again is not part of loading it.
    GenICam::gcstring handed(text);
    GenApi::CNodeMapRef map;
    const std::clock_t start = std::clock();
    map._LoadXMLFromString(std::move(handed));
    return static_cast<double>(std::clock() - start) * 1000.0 / CLOCKS_PER_SEC;
}

// One fresh process: appends "cold warm" in milliseconds to the result file.
int Child(int sample, const char* resultFile)
{
    std::ifstream file(SamplePath(kSamples[sample]), std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", SamplePath(kSamples[sample]).c_str());
        return 1;
    }
    const GenICam::gcstring text(std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>()));
    const double cold = TimedLoad(text);
    std::vector<double> warm;
    for (int i = 0; i < kWarmLoads; ++i) {
        warm.push_back(TimedLoad(text));
    }
    std::FILE* out = std::fopen(resultFile, "a");
    if (!out) {
        return 1;
    }
    std::fprintf(out, "%.6f %.6f\n", cold, Median(warm));
    return std::fclose(out) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--child") {
        return Child(std::atoi(argv[2]), argv[3]);
    }
    std::random_device random;
    const std::string resultFile =
        (std::filesystem::temp_directory_path() / ("bench_genapicoldload." + std::to_string(random()) + ".txt")).string();
    bool within = true;
    std::printf("%-30s %10s %10s %7s   (median of %d processes, warm: median of %d loads each)\n", "sample",
                "cold ms", "warm ms", "ratio", kProcesses, kWarmLoads);
    for (int sample = 0; sample < static_cast<int>(std::size(kSamples)); ++sample) {
        std::remove(resultFile.c_str());
        const std::string command =
            "\"" + std::string(argv[0]) + "\" --child " + std::to_string(sample) + " \"" + resultFile + "\"";
        for (int process = 0; process < kProcesses; ++process) {
            if (std::system(command.c_str()) != 0) {
                std::fprintf(stderr, "the child process failed: %s\n", command.c_str());
                std::remove(resultFile.c_str());
                return 1;
            }
        }
        std::vector<double> colds;
        std::vector<double> warms;
        std::ifstream results(resultFile);
        double cold = 0.0;
        double warm = 0.0;
        while (results >> cold >> warm) {
            colds.push_back(cold);
            warms.push_back(warm);
        }
        results.close();
        std::remove(resultFile.c_str());
        if (colds.size() != kProcesses) {
            std::fprintf(stderr, "%zu of %d processes reported\n", colds.size(), kProcesses);
            return 1;
        }
        const double ratio = Median(colds) / Median(warms);
        const bool target = sample == kLargest;
        if (target) {
            within = ratio <= kAllowedRatio;
        }
        std::printf("%-30s %10.3f %10.3f %7.2f%s\n", kSamples[sample], Median(colds), Median(warms), ratio,
                    target ? (within ? "   (within 1.5x)" : "   OVER 1.5x") : "");
    }
    return within ? 0 : 1;
}
