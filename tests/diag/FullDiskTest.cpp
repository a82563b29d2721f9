// The log file on a disk that fills up and frees again (the OS layer's
// simulated disk): every line reaches the file once and whole, a failed file
// is tried again a second later at the earliest, and unloading tries it once
// more whatever failed before.
#include "DiagTestSupport.h"

#include "os/AppendFile.h"
#include "os/Thread.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

class SimulatedDisk {
public:
    explicit SimulatedDisk(long long room, bool failClose = false) { Os::SimulateDiskRoom(room, failClose); }
    ~SimulatedDisk() { Free(); }
    SimulatedDisk(const SimulatedDisk&) = delete;
    SimulatedDisk& operator=(const SimulatedDisk&) = delete;
    void Free() { Os::SimulateDiskRoom(-1); }
};

std::string Message(std::size_t number)
{
    char text[32];
    std::snprintf(text, sizeof text, "line %05zu ", number);
    return text + std::string(40, 'x');
}

// Bytes of one line of Message in the file: stamp, tag, message, line end.
const std::size_t LineSize = 18 + 5 + Message(0).size() + (sizeof Os::LineEnd - 1);

void WaitForRetry()
{
    Os::SleepMs(static_cast<std::uint32_t>(DriverContext::RetryIntervalMs) + 100);
}

class FullDiskTest : public DiagTest {
protected:
    FullDiskTest() { mContext.SetSystemPath(mFolder.Path()); }

    void Lines(DriverContext& context, std::size_t from, std::size_t to, bool deferFlush = false)
    {
        for (std::size_t i = from; i < to; ++i) {
            context.LogToFile(Message(i).c_str(), "Cam1", deferFlush);
        }
    }

    // The file holds exactly these lines, each once, whole and in order.
    void ExpectFileHolds(const std::vector<std::string>& messages)
    {
        const std::vector<std::string> lines = FileLines();
        ASSERT_EQ(lines.size(), messages.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            ASSERT_TRUE(HasFileStamp(lines[i])) << i << ": " << lines[i];
            ASSERT_EQ(MessageOf(lines[i]), messages[i]) << i;
        }
    }

    static std::vector<std::string> Messages(std::size_t from, std::size_t to)
    {
        std::vector<std::string> messages;
        for (std::size_t i = from; i < to; ++i) {
            messages.push_back(Message(i));
        }
        return messages;
    }
};

TEST_F(FullDiskTest, ALineCutByAFullDiskIsCompletedOnceTheDiskFreesAndNothingIsWrittenTwice)
{
    SimulatedDisk disk(static_cast<long long>(LineSize + 10));
    Lines(mContext, 0, 101);
    EXPECT_EQ(TestSupport::ReadFile(LogFile()).size(), LineSize + 10);
    EXPECT_EQ(mContext.PendingLineCount(), 100u) << "the first line is in the file, part of the second";

    // While the disk stays full, further lines wait without trying the file
    // again; nor is it tried at once when the disk frees.
    Lines(mContext, 101, 150);
    disk.Free();
    Lines(mContext, 150, 151);
    mContext.FlushLogFile();
    EXPECT_EQ(TestSupport::ReadFile(LogFile()).size(), LineSize + 10);

    WaitForRetry();
    Lines(mContext, 151, 152);
    EXPECT_EQ(mContext.PendingLineCount(), 0u);
    ExpectFileHolds(Messages(0, 152));
}

TEST_F(FullDiskTest, AFailingCloseWritesNothingTwice)
{
    {
        SimulatedDisk disk(1 << 20, true);
        Lines(mContext, 0, 101);
        EXPECT_EQ(mContext.PendingLineCount(), 0u) << "every byte was taken before the close failed";
    }
    Lines(mContext, 101, 102);
    mContext.FlushLogFile();
    ExpectFileHolds(Messages(0, 102));
}

TEST_F(FullDiskTest, UnloadingTriesTheFileOnceMoreWhateverFailedBefore)
{
    {
        DriverContext context;
        context.SetSystemPath(mFolder.Path());
        SimulatedDisk disk(0);
        Lines(context, 0, 101);
        EXPECT_EQ(context.PendingLineCount(), 101u);
        disk.Free();
        context.FlushLogFile();
        EXPECT_EQ(context.PendingLineCount(), 101u) << "a second has not passed";
    }
    ExpectFileHolds(Messages(0, 101));
}

// Lines dropped while the file fails (the pending lines are bounded) never
// take the line whose beginning is in the file already.
TEST_F(FullDiskTest, DroppedLinesLeaveTheLineInProgressWhole)
{
    SimulatedDisk disk(static_cast<long long>(LineSize / 2));
    Lines(mContext, 0, 101);
    Lines(mContext, 101, 101 + DriverContext::MaxPendingLines, true);
    EXPECT_EQ(mContext.PendingLineCount(), DriverContext::MaxPendingLines);
    disk.Free();
    WaitForRetry();
    mContext.FlushLogFile();

    const std::size_t total = 101 + DriverContext::MaxPendingLines;
    const std::size_t dropped = total - DriverContext::MaxPendingLines;
    const std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), DriverContext::MaxPendingLines + 1);
    EXPECT_EQ(MessageOf(lines[0]), Message(0));
    EXPECT_EQ(lines[1].substr(18), "Kavrix\tLog: " + std::to_string(dropped) +
                                       " earlier lines were dropped before they could be written");
    EXPECT_EQ(MessageOf(lines[2]), Message(dropped + 1));
    EXPECT_EQ(MessageOf(lines.back()), Message(total - 1));
}

}
