#include "EventLog.h"

#include <chrono>
#include <cstdio>

namespace GigeCamera {

namespace {

const auto gStart = std::chrono::steady_clock::now();

}

void LogEvent(const std::string& text)
{
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - gStart).count();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "[%9.3f] ", seconds);
    const std::string line = stamp + text + "\n";
    // One write per line: standard error is unbuffered, and stdio locks the
    // stream for the call.
    std::fwrite(line.data(), 1, line.size(), stderr);
}

}
