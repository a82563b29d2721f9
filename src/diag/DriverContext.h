// The driver-global state: reference count, the host's system path and debug
// callback, the log thresholds, and the log-file lines not yet written.
#pragma once

#include "kavrix.h"
#include "os/System.h"

#include <atomic>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>

class DriverContext {
public:
    // Longest message text of Log, and of a numbered timing text.
    static constexpr std::size_t MaxMessageLength = 1023;
    static constexpr std::size_t MaxTimingLength = 255;
    // More pending lines than this make a line appended without deferral write the file.
    static constexpr std::size_t FlushThreshold = 100;
    // Lines kept while they cannot be written (no system path known, or the
    // file cannot be opened); the oldest are dropped first.
    static constexpr std::size_t MaxPendingLines = 10000;
    // After a failed write, the file is tried again after this long at the earliest.
    static constexpr long long RetryIntervalMs = 1000;

    // The one context of the loaded driver; it exists before any export runs
    // and writes its pending lines when the driver is unloaded.
    static DriverContext& Instance();

    DriverContext();
    ~DriverContext();
    DriverContext(const DriverContext&) = delete;
    DriverContext& operator=(const DriverContext&) = delete;

    // Formats and delivers one message to the sinks its level reaches (later,
    // while the calling thread defers its messages: see DeferredLog).
    void Log(int level, const char* format, std::va_list args);
    // Where a message goes: the system's debug output, the host's callback,
    // the log file.
    enum Sink : unsigned { ToDebugOutput = 1, ToCallback = 2, ToFile = 4 };
    // Delivers one formatted message to the given sinks.
    void Deliver(unsigned sinks, const char* text);
    // Appends one time-stamped line; a null tag appends nothing.
    void LogToFile(const char* message, const char* tag, bool deferFlush);
    // A timing entry: written only while timing entries are on, formatted
    // into at most MaxTimingLength characters.
    void LogTiming(const char* tag, bool deferFlush, const char* format, std::va_list args);
    // Writes the pending lines. After a write failed, this does nothing
    // until RetryIntervalMs have passed, so a full disk costs one attempt a
    // second, not one per line.
    void FlushLogFile();

    void SetDebugMsgProc(DebugMsgProc proc);
    DebugMsgProc GetDebugMsgProc() const;
    void SetSystemPath(const std::string& path);
    std::string GetSystemPath() const;
    // "\kavrix.log" (with the system's separator) in the system path.
    std::string GetLogFilePath() const;

    // Where the debug output of Log goes: the system's debug output (also
    // after a null), or a test's receiver.
    using DebugOutputProc = void (*)(const char* text);
    void SetDebugOutput(DebugOutputProc output);

    int mRefCount = 0;
    std::atomic<int> mLogLevel{3};
    std::atomic<bool> mLogIntoFile{false};
    std::atomic<int> mDebugViewOutput{1};
    std::atomic<bool> mLogTimings{false};

    std::size_t PendingLineCount() const;

    // The exact time-stamp formats, for a given moment.
    static std::string FormatFileLine(const Os::LocalTime& time, const char* tag, const std::string& message);
    static std::string FormatCallbackPrefix(const Os::LocalTime& time);

private:
    void DeliverToCallback(const char* text);
    // Tells the system's debug output that the host's callback raised on text.
    void ReportCallbackFailure(const char* text);
    // Writes the pending lines unless a recent failure says to wait; always
    // tries when always is true (the driver is being unloaded).
    void WritePending(bool always);
    // Takes written bytes off the front of the pending lines. Lock held.
    void Consume(std::size_t written);
    // Whether a write may be tried now. Lock held.
    bool MayWrite() const;
    static std::string LogFilePath(const std::string& systemPath);

    std::atomic<DebugOutputProc> mDebugOutput;
    // Recursive like a critical section: a host callback that calls back
    // into the driver, and so logs again, must not deadlock.
    mutable std::recursive_mutex mCallbackLock;
    DebugMsgProc mDebugMsgProc = nullptr;
    // Guards the pending lines, the dropped count, the system path and the
    // writing of the file.
    mutable std::mutex mLogLinesLock;
    // Each as its bytes in the file, line ends included.
    std::deque<std::string> mLogLines;
    // Bytes of the first pending line that are already in the file (a write
    // stopped inside it): only the rest is written, so no line is cut or doubled.
    std::size_t mWrittenOfFirst = 0;
    std::size_t mDroppedLines = 0;
    std::string mSystemPath;
    bool mWriteFailed = false;
    long long mRetryAtMs = 0;
    std::string mWriteBuffer;
};

// The formats are checked against the printf that formats them: on MinGW the
// C++ library selects MinGW's own C99 printf, which takes %zu and %lld on
// both bitnesses, where GCC's plain "printf" check would apply msvcrt's rules.
#if defined(__MINGW32__)
#  define KAVRIX_PRINTF(formatAt, argsFrom) __attribute__((format(__MINGW_PRINTF_FORMAT, formatAt, argsFrom)))
#elif defined(__GNUC__)
#  define KAVRIX_PRINTF(formatAt, argsFrom) __attribute__((format(printf, formatAt, argsFrom)))
#else
#  define KAVRIX_PRINTF(formatAt, argsFrom)
#endif

// The driver's one log function, printf-style; its result carries no meaning.
KAVRIX_PRINTF(2, 3) int Log(int level, const char* format, ...);

KAVRIX_PRINTF(3, 4) void LogTiming(const char* tag, bool deferFlush, const char* format, ...);
