#include "os/System.h"

#include "os/posix/SystemLog.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

namespace Os {

namespace {

long long BootMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// The process start on the boot clock, from field 22 of /proc/self/stat
// (clock ticks since boot); -1 when it cannot be read.
long long StartFromProc()
{
    std::ifstream file("/proc/self/stat");
    std::string stat;
    std::getline(file, stat);
    // The command name in field 2 may hold blanks and parentheses; the
    // fields after it start behind its last ')'.
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) {
        return -1;
    }
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string field;
    for (int number = 3; number < 22 && fields >> field; ++number) {
    }
    unsigned long long ticks = 0;
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    if (!(fields >> ticks) || ticksPerSecond <= 0) {
        return -1;
    }
    return static_cast<long long>(ticks * 1000 / static_cast<unsigned long long>(ticksPerSecond));
}

long long ProcessStart()
{
    // Computed once; without /proc the first use stands in for the start.
    static const long long start = [] {
        const long long fromProc = StartFromProc();
        return fromProc >= 0 ? fromProc : BootMilliseconds();
    }();
    return start;
}

// Fixes the start while the process is young even if nobody asks early.
[[maybe_unused]] const long long gProcessStart = ProcessStart();

// Set when the driver's system log is gone (the library is being unloaded);
// a text written after that is dropped instead of reaching a destroyed object.
std::atomic<bool> gSystemLogClosed{false};

class DriverSystemLog : public SystemLog {
public:
    DriverSystemLog() : SystemLog("/dev/log", "kavrix") {}
    ~DriverSystemLog() { gSystemLogClosed = true; }
};

}

void DebugOutput(const char* text)
{
    if (text == nullptr) {
        return;
    }
    try {
        // Decided once: the environment is read before the first text.
        static const bool toStandardError = GetEnvironment("KAVRIX_DEBUG_OUTPUT").value_or("") == "stderr";
        if (!gSystemLogClosed.load(std::memory_order_acquire)) {
            static DriverSystemLog systemLog;
            systemLog.Send(text);
        }
        if (toStandardError) {
            std::fputs(text, stderr);
        }
    } catch (...) {
    }
}

long long MonotonicMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

long ProcessMilliseconds()
{
    return static_cast<long>(BootMilliseconds() - ProcessStart());
}

LocalTime Now()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour, local.tm_min, local.tm_sec};
}

std::optional<std::string> GetEnvironment(const char* name)
{
    const char* value = name != nullptr ? std::getenv(name) : nullptr;
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

std::size_t ResidentBytes()
{
    // Field 2 of /proc/self/statm: resident pages.
    std::ifstream file("/proc/self/statm");
    unsigned long long size = 0;
    unsigned long long resident = 0;
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (!(file >> size >> resident) || pageSize <= 0) {
        return 0;
    }
    return static_cast<std::size_t>(resident * static_cast<unsigned long long>(pageSize));
}

bool RunsUnderWine()
{
    return false;
}

std::string ModuleFolder(const void* address)
{
    Dl_info info{};
    link_map* module = nullptr;
    if (dladdr1(address, &info, reinterpret_cast<void**>(&module), RTLD_DL_LINKMAP) == 0) {
        return {};
    }
    std::string path;
    if (module != nullptr && module->l_name != nullptr && module->l_name[0] != '\0') {
        path = module->l_name;
    } else {
        // The main program has no name in its link map.
        char buffer[4096];
        const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
        if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer) {
            return {};
        }
        path.assign(buffer, static_cast<std::size_t>(length));
    }
    const std::size_t separator = path.rfind('/');
    return separator == std::string::npos ? std::string(".") : path.substr(0, separator);
}

}
