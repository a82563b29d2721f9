// The log file: time-stamped lines gathered in memory and appended in batches.
#include "diag/DriverContext.h"

#include "diag/TimeStamp.h"
#include "os/AppendFile.h"

namespace {

// One write takes this many bytes of lines at most.
constexpr std::size_t WriteChunk = 64 * 1024;

// A line as the file holds it: its line feeds, and the one that ends it,
// written as the system's text files end their lines.
std::string FileText(const std::string& line)
{
    const std::size_t lineEnd = sizeof Os::LineEnd - 1;
    std::string text;
    text.reserve(line.size() + lineEnd);
    for (const char c : line) {
        if (c == '\n') {
            text.append(Os::LineEnd, lineEnd);
        } else {
            text += c;
        }
    }
    text.append(Os::LineEnd, lineEnd);
    return text;
}

}

void DriverContext::LogToFile(const char* message, const char* tag, bool deferFlush)
{
    if (tag == nullptr) {
        return;
    }
    // A log line is never worth an exception in its caller (destructors log
    // too): without memory for it, it is dropped.
    try {
        std::string line = FileText(FormatFileLine(Os::Now(), tag, message != nullptr ? message : ""));
        bool write = false;
        {
            std::lock_guard<std::mutex> lock(mLogLinesLock);
            // Bounded whether the lines wait for a system path or for a file
            // that cannot be written yet. A line part of which is in the file
            // already stays, so that the file gets its rest.
            if (mLogLines.size() >= MaxPendingLines) {
                mLogLines.erase(mLogLines.begin() + (mWrittenOfFirst > 0 ? 1 : 0));
                ++mDroppedLines;
            }
            mLogLines.push_back(std::move(line));
            write = !deferFlush && !mSystemPath.empty() && mLogLines.size() > FlushThreshold && MayWrite();
        }
        if (write) {
            FlushLogFile();
        }
    } catch (...) {
    }
}

void DriverContext::FlushLogFile()
{
    WritePending(false);
}

bool DriverContext::MayWrite() const
{
    return !mWriteFailed || Os::MonotonicMilliseconds() >= mRetryAtMs;
}

void DriverContext::WritePending(bool always)
{
    try {
        std::lock_guard<std::mutex> lock(mLogLinesLock);
        if (mLogLines.empty() || mSystemPath.empty() || (!always && !MayWrite())) {
            return;
        }
        Os::AppendFile file(LogFilePath(mSystemPath));
        bool complete = file.IsOpen();
        if (complete && mDroppedLines > 0) {
            // Said where the lost lines were: before the oldest line still pending.
            const std::string note = "Log: " + std::to_string(mDroppedLines) +
                                     " earlier lines were dropped before they could be written";
            mLogLines.insert(mLogLines.begin() + (mWrittenOfFirst > 0 ? 1 : 0),
                             FileText(FormatFileLine(Os::Now(), "Kavrix", note)));
            mDroppedLines = 0;
        }
        // Many lines to one write; what the system took leaves the pending
        // lines, whole lines and the written part of a line alike.
        while (complete && !mLogLines.empty()) {
            mWriteBuffer.assign(mLogLines.front(), mWrittenOfFirst, std::string::npos);
            for (std::size_t i = 1; i < mLogLines.size() && mWriteBuffer.size() < WriteChunk; ++i) {
                mWriteBuffer += mLogLines[i];
            }
            const std::size_t written = file.Write(mWriteBuffer.data(), mWriteBuffer.size());
            Consume(written);
            complete = written == mWriteBuffer.size();
        }
        // A failing close is not a reason to write again: the system took
        // every byte counted, and writing them again would double them.
        file.Close();
        mWriteBuffer.clear();
        mWriteFailed = !complete;
        if (mWriteFailed) {
            mRetryAtMs = Os::MonotonicMilliseconds() + RetryIntervalMs;
        }
    } catch (...) {
    }
}

void DriverContext::Consume(std::size_t written)
{
    while (written > 0 && !mLogLines.empty()) {
        const std::size_t rest = mLogLines.front().size() - mWrittenOfFirst;
        if (written < rest) {
            mWrittenOfFirst += written;
            return;
        }
        written -= rest;
        mLogLines.pop_front();
        mWrittenOfFirst = 0;
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
