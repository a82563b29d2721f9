#include "DiagTestSupport.h"

#include <cstdarg>
#include <fstream>
#include <mutex>

namespace {

std::mutex sDebugLock;
std::vector<std::string> sDebugTexts;

void ReceiveDebugOutput(const char* text)
{
    std::lock_guard<std::mutex> lock(sDebugLock);
    sDebugTexts.emplace_back(text);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

}

std::vector<std::string> DebugOutputTexts()
{
    std::lock_guard<std::mutex> lock(sDebugLock);
    return sDebugTexts;
}

DiagTest::DiagTest()
{
    {
        std::lock_guard<std::mutex> lock(sDebugLock);
        sDebugTexts.clear();
    }
    mContext.SetDebugOutput(&ReceiveDebugOutput);
    mContext.SetDebugMsgProc(TestSupport::LogCapture::Callback());
}

DiagTest::~DiagTest() = default;

void DiagTest::LogAt(int level, const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    mContext.Log(level, format, args);
    va_end(args);
}

void DiagTest::Timing(const char* tag, bool deferFlush, const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    mContext.LogTiming(tag, deferFlush, format, args);
    va_end(args);
}

std::vector<std::string> DiagTest::FileLines() const
{
    std::vector<std::string> lines;
    std::ifstream file(LogFile(), std::ios::binary);
    // Messages from Log bring their own line feed, so an empty line follows
    // each of them; only the lines with content matter here.
    for (std::string line; std::getline(file, line);) {
        // Windows ends the file's lines with CR LF.
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

bool HasFileStamp(const std::string& line)
{
    const std::string shape = "00/00/00 00:00:00\t";
    if (line.size() < shape.size()) {
        return false;
    }
    for (std::size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == '0' ? !IsDigit(line[i]) : line[i] != shape[i]) {
            return false;
        }
    }
    return true;
}

std::string MessageOf(const std::string& line)
{
    const std::size_t tagEnd = line.find('\t', 18);
    return tagEnd == std::string::npos ? std::string() : line.substr(tagEnd + 1);
}
