// What the benchmarks print: medians of their samples and runs, and each
// figure against its target.
#pragma once

#include <chrono>
#include <vector>

namespace Bench {

using Clock = std::chrono::steady_clock;

double Nanoseconds(Clock::duration duration);
double Median(std::vector<double> values);
// The value below which the given fraction (0 to 1) of the values lie.
double Percentile(std::vector<double> values, double fraction);
double Mean(const std::vector<double>& values);

// Prints "<what>: <value> (target at most|at least <limit>): met|MISSED"
// and tells whether it was met.
bool ReportAtMost(const char* what, double value, double limit);
bool ReportAtLeast(const char* what, double value, double limit);

}
