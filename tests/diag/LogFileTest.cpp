#include "DiagTestSupport.h"

#include <string>
#include <vector>

using LogFileTest = DiagTest;

namespace {

const Os::LocalTime Moment{2026, 12, 7, 9, 5, 3};

}

TEST(LogFormat, TimeStampsShowTheLastDigitOfTheYear)
{
    EXPECT_EQ(DriverContext::FormatFileLine(Moment, "Kavrix", "Camera::Open: entering\n"),
              "07/12/06 09:05:03\tKavrix\tCamera::Open: entering\n");
    EXPECT_EQ(DriverContext::FormatCallbackPrefix(Moment), "07/12/06 09:05:03: ");
    EXPECT_EQ(DriverContext::FormatFileLine(Os::LocalTime{2030, 1, 31, 23, 59, 59}, "Cam 1", "frame received"),
              "31/01/00 23:59:59\tCam 1\tframe received");
    EXPECT_EQ(DriverContext::FormatFileLine(Moment, "Kavrix", "===============\ninitialize: \n"),
              "07/12/06 09:05:03\tKavrix\t===============\ninitialize: \n");
}

TEST_F(LogFileTest, TheFileIsWrittenWhenMoreThanAHundredLinesArePending)
{
    mContext.SetSystemPath(mFolder.Path());
    EXPECT_EQ(mContext.GetLogFilePath(), mFolder.Path() + Os::PathSeparator + "kavrix.log");
    mContext.mLogIntoFile = true;
    mContext.mDebugViewOutput = 0;

    for (int i = 0; i < 100; ++i) {
        LogAt(2, "line %d", i);
    }
    EXPECT_TRUE(FileLines().empty());
    EXPECT_EQ(mContext.PendingLineCount(), 100u);

    LogAt(2, "line %d", 100);
    EXPECT_EQ(mContext.PendingLineCount(), 0u);
    std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), 101u);
    for (int i = 0; i < 101; ++i) {
        EXPECT_TRUE(HasFileStamp(lines[static_cast<std::size_t>(i)]));
        EXPECT_EQ(lines[static_cast<std::size_t>(i)].substr(18), "Kavrix\tline " + std::to_string(i));
    }

    // The file is appended to, never rewritten.
    LogAt(2, "after");
    mContext.FlushLogFile();
    lines = FileLines();
    ASSERT_EQ(lines.size(), 102u);
    EXPECT_EQ(MessageOf(lines.back()), "after");
}

// Lines end as the system's text files do (CR LF on Windows), also the line
// feeds inside a message; nothing else about a line changes.
TEST_F(LogFileTest, MessagesFromLogAreFollowedByAnEmptyLineTimingEntriesAreNot)
{
    mContext.SetSystemPath(mFolder.Path());
    mContext.mLogIntoFile = true;
    mContext.mLogTimings = true;
    LogAt(2, "Camera::Open: entering port=%d", 2);
    Timing("Cam1", false, "image received at %6ld", 17L);
    LogAt(2, "===============\ninitialize: \n");
    mContext.FlushLogFile();
    const std::string end = Os::LineEnd;
    const std::string content = TestSupport::ReadFile(LogFile());
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < content.size();) {
        const std::size_t next = content.find(end, at);
        ASSERT_NE(next, std::string::npos) << "a line without its end: " << content.substr(at);
        lines.push_back(content.substr(at, next - at));
        at = next + end.size();
    }
    ASSERT_EQ(lines.size(), 6u) << content;
    EXPECT_TRUE(HasFileStamp(lines[0]));
    EXPECT_EQ(lines[0].substr(18), "Kavrix\tCamera::Open: entering port=2");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2].substr(18), "Cam1\timage received at     17");
    EXPECT_EQ(lines[3].substr(18), "Kavrix\t===============");
    EXPECT_EQ(lines[4], "initialize: ");
    EXPECT_EQ(lines[5], "");
}

TEST_F(LogFileTest, DeferredEntriesNeverStartAWrite)
{
    mContext.SetSystemPath(mFolder.Path());
    for (int i = 0; i < 300; ++i) {
        mContext.LogToFile(("frame " + std::to_string(i)).c_str(), "Cam1", true);
    }
    EXPECT_TRUE(FileLines().empty());
    EXPECT_EQ(mContext.PendingLineCount(), 300u);

    mContext.LogToFile("CameraWaitThread started", "ALL_CAMERAS", false);
    const std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), 301u);
    EXPECT_EQ(lines[0].substr(18), "Cam1\tframe 0");
    EXPECT_EQ(lines[299].substr(18), "Cam1\tframe 299");
    EXPECT_EQ(lines[300].substr(18), "ALL_CAMERAS\tCameraWaitThread started");

    mContext.LogToFile("no tag, no line", nullptr, false);
    EXPECT_EQ(mContext.PendingLineCount(), 0u);
}

TEST_F(LogFileTest, LinesWaitForASystemPathAndAFileThatOpens)
{
    for (int i = 0; i < 150; ++i) {
        mContext.LogToFile(("early " + std::to_string(i)).c_str(), "Kavrix", false);
    }
    mContext.FlushLogFile();
    EXPECT_EQ(mContext.PendingLineCount(), 150u);

    // A folder that does not exist: the lines stay pending.
    TestSupport::TempFolder later;
    const std::string missing = later.File("missing");
    mContext.SetSystemPath(missing);
    mContext.LogToFile("while the folder is missing", "Kavrix", false);
    EXPECT_EQ(mContext.PendingLineCount(), 151u);

    mContext.SetSystemPath(mFolder.Path());
    mContext.LogToFile("path set", "Kavrix", false);
    const std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), 152u);
    EXPECT_EQ(MessageOf(lines[0]), "early 0");
    EXPECT_EQ(MessageOf(lines[149]), "early 149");
    EXPECT_EQ(MessageOf(lines[151]), "path set");
}

TEST_F(LogFileTest, WithoutASystemPathOnlyTheNewestLinesAreKeptAndTheLossIsSaid)
{
    const std::size_t extra = 5;
    for (std::size_t i = 0; i < DriverContext::MaxPendingLines + extra; ++i) {
        mContext.LogToFile(("line " + std::to_string(i)).c_str(), "Cam1", false);
    }
    EXPECT_EQ(mContext.PendingLineCount(), DriverContext::MaxPendingLines);

    mContext.SetSystemPath(mFolder.Path());
    mContext.FlushLogFile();
    std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), DriverContext::MaxPendingLines + 1);
    EXPECT_TRUE(HasFileStamp(lines[0]));
    EXPECT_EQ(lines[0].substr(18), "Kavrix\tLog: 5 earlier lines were dropped before they could be written");
    EXPECT_EQ(MessageOf(lines[1]), "line 5");
    EXPECT_EQ(MessageOf(lines.back()), "line " + std::to_string(DriverContext::MaxPendingLines + extra - 1));

    // The loss is told once.
    mContext.LogToFile("next", "Cam1", true);
    mContext.FlushLogFile();
    lines = FileLines();
    ASSERT_EQ(lines.size(), DriverContext::MaxPendingLines + 2);
    EXPECT_EQ(MessageOf(lines.back()), "next");
}

TEST(LogFileLifetime, AContextWritesItsPendingLinesWhenItIsDestroyed)
{
    TestSupport::TempFolder folder;
    {
        DriverContext context;
        context.SetSystemPath(folder.Path());
        context.LogToFile("frame received", "Cam1", true);
        context.LogToFile("image received at     17", "Cam1", true);
        EXPECT_TRUE(TestSupport::ReadFile(folder.File("kavrix.log")).empty());
    }
    const std::string content = TestSupport::ReadFile(folder.File("kavrix.log"));
    EXPECT_NE(content.find(std::string("\tCam1\tframe received") + Os::LineEnd), std::string::npos) << content;
    EXPECT_NE(content.find(std::string("\tCam1\timage received at     17") + Os::LineEnd), std::string::npos)
        << content;
}
