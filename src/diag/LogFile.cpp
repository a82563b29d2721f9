// The log file: time-stamped lines gathered in memory and appended in batches.
#include "diag/DriverContext.h"

#include "diag/TimeStamp.h"

#include <cstdio>

void DriverContext::LogToFile(const char* message, const char* tag, bool deferFlush)
{
    if (tag == nullptr) {
        return;
    }
    // A log line is never worth an exception in its caller (destructors log
    // too): without memory for it, it is dropped.
    try {
        std::string line = FormatFileLine(Os::Now(), tag, message != nullptr ? message : "");
        bool write = false;
        {
            std::lock_guard<std::mutex> lock(mLogLinesLock);
            // Bounded whether the lines wait for a system path or for a file
            // that cannot be opened yet.
            if (mLogLines.size() >= MaxPendingLines) {
                mLogLines.pop_front();
                ++mDroppedLines;
            }
            mLogLines.push_back(std::move(line));
            write = !deferFlush && !mSystemPath.empty() && mLogLines.size() > FlushThreshold;
        }
        if (write) {
            FlushLogFile();
        }
    } catch (...) {
    }
}

void DriverContext::FlushLogFile()
{
    try {
        std::lock_guard<std::mutex> lock(mLogLinesLock);
        if (mLogLines.empty() || mSystemPath.empty()) {
            return;
        }
        std::FILE* file = std::fopen(LogFilePath(mSystemPath).c_str(), "ab");
        if (file == nullptr) {
            return;
        }
        const auto writeLine = [file](const std::string& line) {
            return std::fwrite(line.data(), 1, line.size(), file) == line.size() && std::fputc('\n', file) != EOF;
        };
        bool written = true;
        if (mDroppedLines > 0) {
            const std::string note = "Log: " + std::to_string(mDroppedLines) +
                                     " earlier lines were dropped before they could be written";
            written = writeLine(FormatFileLine(Os::Now(), "Kavrix", note));
        }
        for (const std::string& line : mLogLines) {
            written = written && writeLine(line);
        }
        written = std::fclose(file) == 0 && written;
        // Lines that may not have reached the file stay pending: written
        // twice is better than lost.
        if (written) {
            mLogLines.clear();
            mDroppedLines = 0;
        }
    } catch (...) {
    }
}

std::size_t DriverContext::PendingLineCount() const
{
    std::lock_guard<std::mutex> lock(mLogLinesLock);
    return mLogLines.size();
}

std::string DriverContext::GetLogFilePath() const
{
    return LogFilePath(GetSystemPath());
}

std::string DriverContext::LogFilePath(const std::string& systemPath)
{
    return systemPath + Os::PathSeparator + "kavrix.log";
}

std::string DriverContext::FormatFileLine(const Os::LocalTime& time, const char* tag, const std::string& message)
{
    char stamp[TimeStampSize];
    FormatTimeStamp(stamp, time, "\t");
    std::string line(stamp);
    line += tag != nullptr ? tag : "";
    line += '\t';
    // The writer ends every line itself; a message that brings its own line
    // feed (every one from Log does) is followed by an empty line in the file.
    line += message;
    return line;
}

std::string DriverContext::FormatCallbackPrefix(const Os::LocalTime& time)
{
    char prefix[TimeStampSize];
    FormatTimeStamp(prefix, time, ": ");
    return prefix;
}
