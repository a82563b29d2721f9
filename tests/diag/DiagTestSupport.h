// A private driver context for one test, with its debug output collected.
#pragma once

#include "diag/DriverContext.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The debug output of every context that a test points at it.
std::vector<std::string> DebugOutputTexts();

class DiagTest : public ::testing::Test {
protected:
    DiagTest();
    ~DiagTest() override;

    // Log through the context's member, printf-style.
    KAVRIX_PRINTF(3, 4) void LogAt(int level, const char* format, ...);
    KAVRIX_PRINTF(4, 5) void Timing(const char* tag, bool deferFlush, const char* format, ...);
    // The non-empty lines of the log file in the test's folder (none when it
    // is missing), without their line ends.
    std::vector<std::string> FileLines() const;
    std::string LogFile() const { return mFolder.File("kavrix.log"); }

    TestSupport::TempFolder mFolder;
    TestSupport::LogCapture mCapture;
    DriverContext mContext;
};

// The message part of a file line, after the time stamp and the tag.
std::string MessageOf(const std::string& line);
bool HasFileStamp(const std::string& line);
