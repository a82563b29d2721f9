// Small services of the operating system that the driver needs.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace Os {

#if defined(_WIN32)
constexpr char PathSeparator = '\\';
#else
constexpr char PathSeparator = '/';
#endif

// Writes the text to the system's debug output (OutputDebugStringA; Linux:
// standard error).
void DebugOutput(const char* text);

// Milliseconds of wall time since the process started.
long ProcessMilliseconds();

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

// The folder (without a final separator) of the module that holds address:
// the driver's own folder when given an address inside the driver.
std::string ModuleFolder(const void* address);

}
