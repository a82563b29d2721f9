#include "support/Figures.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace Bench {

namespace {

bool Report(const char* what, double value, const char* bound, double limit, bool met)
{
    std::printf("%s: %.3f (target %s %.3f): %s\n", what, value, bound, limit, met ? "met" : "MISSED");
    std::fflush(stdout);
    return met;
}

}

double Nanoseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::nano>(duration).count();
}

double Median(std::vector<double> values)
{
    if (values.empty()) {
        return 0.0;
    }
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1) {
        return *middle;
    }
    return (*middle + *std::max_element(values.begin(), middle)) / 2;
}

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty()) {
        return 0.0;
    }
    const auto rank = static_cast<std::ptrdiff_t>(fraction * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + rank, values.end());
    return values[static_cast<std::size_t>(rank)];
}

double Mean(const std::vector<double>& values)
{
    return values.empty() ? 0.0 : std::accumulate(values.begin(), values.end(), 0.0) / values.size();
}

bool ReportAtMost(const char* what, double value, double limit)
{
    return Report(what, value, "at most", limit, value <= limit);
}

bool ReportAtLeast(const char* what, double value, double limit)
{
    return Report(what, value, "at least", limit, value >= limit);
}

}
