// Small services of the operating system that the driver needs.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace Os {

#if defined(_WIN32)
constexpr char PathSeparator = '\\';
// How a text file ends its lines.
inline constexpr char LineEnd[] = "\r\n";
#else
constexpr char PathSeparator = '/';
inline constexpr char LineEnd[] = "\n";
#endif

// Writes the text to the system's debug output. Windows: OutputDebugStringA.
// Linux: the system log at debug priority under the identifier "kavrix",
// without ever blocking the caller (a full or missing log socket drops the
// text), and standard error as well when the environment variable
// KAVRIX_DEBUG_OUTPUT is "stderr" when the first text is written.
void DebugOutput(const char* text);

// Milliseconds of wall time since the process started.
long ProcessMilliseconds();

// Milliseconds on a clock that only moves forward, whatever happens to the
// date and time of the system: for intervals, not for moments.
long long MonotonicMilliseconds();

struct LocalTime {
    int year;    // four digits
    int month;   // 1 to 12
    int day;
    int hour;
    int minute;
    int second;
};
LocalTime Now();

std::optional<std::string> GetEnvironment(const char* name);
// Sets (or with a null value removes) a variable of this process, seen by
// GetEnvironment and by the C library alike.
bool SetEnvironment(const char* name, const char* value);

// Bytes of this process in physical memory now (Linux: the resident set;
// Windows: the working set); 0 when the system does not tell.
std::size_t ResidentBytes();

// True when this Windows build runs under Wine, which lacks some of
// Windows' behaviour (for log lines and tests); false on Linux.
bool RunsUnderWine();

// The folder (without a final separator) of the module that holds address:
// the driver's own folder when given an address inside the driver.
std::string ModuleFolder(const void* address);

}
