// Log: one message to the debug output, the host's callback and the log file.
#include "diag/DriverContext.h"

#include "diag/DeferredLog.h"
#include "diag/HostCallbackScope.h"
#include "diag/TimeStamp.h"

#include <cstdio>
#include <cstring>

namespace {

// Formats into buffer (cut to fit, never overrun) and gives the length.
template <std::size_t Size>
std::size_t FormatInto(char (&buffer)[Size], const char* format, std::va_list args)
{
    buffer[0] = '\0';
    if (format == nullptr) {
        return 0;
    }
    const int length = std::vsnprintf(buffer, Size, format, args);
    if (length < 0) {
        buffer[0] = '\0';
        return 0;
    }
    return static_cast<std::size_t>(length) < Size ? static_cast<std::size_t>(length) : Size - 1;
}

bool Admits(const DriverContext& context, int level)
{
    return level <= context.mLogLevel.load(std::memory_order_relaxed) ||
           level <= context.mDebugViewOutput.load(std::memory_order_relaxed);
}

}

void DriverContext::Log(int level, const char* format, std::va_list args)
{
    if (!Admits(*this, level)) {
        return;
    }
    // Room for the longest message, its terminating NUL and nothing shared.
    char text[MaxMessageLength + 1];
    std::size_t length = FormatInto(text, format, args);
    // Messages get a final line feed; the two longest lengths have no room.
    if (length >= 1 && length <= MaxMessageLength - 2 && text[length - 1] != '\n') {
        text[length] = '\n';
        text[length + 1] = '\0';
    }
    // Where the message goes is decided now, by the thresholds in force,
    // even when it goes there later.
    unsigned sinks = 0;
    if (level <= mDebugViewOutput.load(std::memory_order_relaxed)) {
        sinks |= ToDebugOutput;
    }
    if (level <= mLogLevel.load(std::memory_order_relaxed)) {
        sinks |= ToCallback;
        if (mLogIntoFile.load(std::memory_order_relaxed)) {
            sinks |= ToFile;
        }
    }
    if (!DeferredLog::Keep(sinks, text)) {
        Deliver(sinks, text);
    }
}

void DriverContext::Deliver(unsigned sinks, const char* text)
{
    if ((sinks & ToDebugOutput) != 0) {
        mDebugOutput.load(std::memory_order_relaxed)(text);
    }
    if ((sinks & ToCallback) != 0) {
        DeliverToCallback(text);
    }
    if ((sinks & ToFile) != 0) {
        LogToFile(text, "Kavrix", false);
    }
}

void DriverContext::DeliverToCallback(const char* text)
{
    char prefix[TimeStampSize];
    FormatTimeStamp(prefix, Os::Now(), ": ");
    // The prefix and its text reach the host side by side, one thread at a time.
    std::lock_guard<std::recursive_mutex> lock(mCallbackLock);
    // Read once: the host may switch its callback off from inside it.
    const DebugMsgProc callback = mDebugMsgProc;
    if (callback == nullptr) {
        return;
    }
    const HostCallbackScope insideCallback(HostCallbackScope::Kind::Debug);
    try {
        callback(prefix);
        callback(text);
    } catch (...) {
        // Whatever the host's code throws stays out of the driver.
        ReportCallbackFailure(text);
    }
}

void DriverContext::ReportCallbackFailure(const char* text)
{
    // Not through the callback that just failed, and at the level of an error.
    if (mDebugViewOutput.load(std::memory_order_relaxed) < 1) {
        return;
    }
    char report[MaxMessageLength + 96];
    std::snprintf(report, sizeof report, "Log: ERROR: the host's debug callback raised an exception on: %s%s", text,
                  *text == '\0' || text[std::strlen(text) - 1] != '\n' ? "\n" : "");
    mDebugOutput.load(std::memory_order_relaxed)(report);
}

void DriverContext::LogTiming(const char* tag, bool deferFlush, const char* format, std::va_list args)
{
    if (!mLogTimings.load(std::memory_order_relaxed) || tag == nullptr) {
        return;
    }
    char text[MaxTimingLength + 1];
    FormatInto(text, format, args);
    LogToFile(text, tag, deferFlush);
}

int Log(int level, const char* format, ...)
{
    DriverContext& context = DriverContext::Instance();
    // Traces that no threshold admits cost no formatting, lock or allocation.
    if (!Admits(context, level)) {
        return 0;
    }
    std::va_list args;
    va_start(args, format);
    context.Log(level, format, args);
    va_end(args);
    return 0;
}

void LogTiming(const char* tag, bool deferFlush, const char* format, ...)
{
    DriverContext& context = DriverContext::Instance();
    if (!context.mLogTimings.load(std::memory_order_relaxed)) {
        return;
    }
    std::va_list args;
    va_start(args, format);
    context.LogTiming(tag, deferFlush, format, args);
    va_end(args);
}
