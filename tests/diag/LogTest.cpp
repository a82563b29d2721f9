#include "DiagTestSupport.h"

#include "os/Thread.h"

#include <memory>
#include <string>
#include <vector>

using LogTest = DiagTest;

TEST_F(LogTest, ThresholdsDecideWhichSinksAMessageReaches)
{
    mContext.SetSystemPath(mFolder.Path());
    mContext.mLogIntoFile = true;

    mContext.mLogLevel = 0;
    mContext.mDebugViewOutput = 0;
    LogAt(1, "%s\n", "suppressed");
    EXPECT_TRUE(DebugOutputTexts().empty());
    EXPECT_TRUE(mCapture.Calls().empty());
    EXPECT_EQ(mContext.PendingLineCount(), 0u);

    // Timing entries bypass the thresholds.
    mContext.mLogTimings = true;
    Timing("Cam1", true, "image received at %6ld", 42L);
    ASSERT_EQ(mContext.PendingLineCount(), 1u);
    mContext.mLogTimings = false;
    Timing("Cam1", true, "frame received");
    EXPECT_EQ(mContext.PendingLineCount(), 1u);

    mContext.mLogLevel = 1;
    mContext.mDebugViewOutput = 3;
    LogAt(2, "Camera::Open: entering port=%d\n", 7);
    EXPECT_EQ(DebugOutputTexts(), std::vector<std::string>{"Camera::Open: entering port=7\n"});
    EXPECT_TRUE(mCapture.Calls().empty());
    EXPECT_EQ(mContext.PendingLineCount(), 1u);

    LogAt(1, "ERROR %d", 1);
    EXPECT_EQ(DebugOutputTexts().size(), 2u);
    EXPECT_EQ(mCapture.Messages(), std::vector<std::string>{"ERROR 1\n"});
    EXPECT_EQ(mContext.PendingLineCount(), 2u);

    LogAt(4, "row %d", 1);
    EXPECT_EQ(DebugOutputTexts().size(), 2u);
    EXPECT_EQ(mCapture.Calls().size(), 2u);

    mContext.FlushLogFile();
    const std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(18), "Cam1\timage received at     42");
    EXPECT_EQ(lines[1].substr(18), "Kavrix\tERROR 1");
}

TEST_F(LogTest, MessagesEndWithOneLineFeedAndAreCutToTheirLimit)
{
    mContext.mDebugViewOutput = 1;
    const auto logged = [this](const std::string& text) {
        LogAt(1, "%s", text.c_str());
        return DebugOutputTexts().back();
    };
    EXPECT_EQ(logged("abc"), "abc\n");
    EXPECT_EQ(logged("abc\n"), "abc\n");
    EXPECT_EQ(logged("two\n\n"), "two\n\n");
    EXPECT_EQ(logged(""), "");
    EXPECT_EQ(logged(std::string(1021, 'a')), std::string(1021, 'a') + "\n");
    EXPECT_EQ(logged(std::string(1022, 'b')), std::string(1022, 'b'));
    EXPECT_EQ(logged(std::string(1023, 'c')), std::string(1023, 'c'));
    EXPECT_EQ(logged(std::string(5000, 'd')), std::string(1023, 'd'));
    EXPECT_EQ(logged(std::string(1020, 'e') + "\n" + std::string(100, 'f')),
              std::string(1020, 'e') + "\n" + std::string(2, 'f'));

    // The host receives the same text, and so does the file.
    mContext.SetSystemPath(mFolder.Path());
    mContext.mLogIntoFile = true;
    mContext.mLogTimings = true;
    LogAt(1, "%s", std::string(3000, 'g').c_str());
    EXPECT_EQ(mCapture.Messages().back(), std::string(1023, 'g'));
    Timing("Cam1", false, "%s %d", std::string(400, 'h').c_str(), 1);
    mContext.FlushLogFile();
    const std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(MessageOf(lines[0]), std::string(1023, 'g'));
    EXPECT_EQ(MessageOf(lines[1]), std::string(255, 'h'));
}

TEST_F(LogTest, TheHostGetsThePrefixAndThenTheTextOfEachMessage)
{
    LogAt(3, "INFO %s", "one");
    LogAt(3, "%s", "");
    const std::vector<std::string> calls = mCapture.Calls();
    ASSERT_EQ(calls.size(), 4u);
    const Os::LocalTime now = Os::Now();
    EXPECT_EQ(calls[0].size(), DriverContext::FormatCallbackPrefix(now).size());
    EXPECT_TRUE(HasFileStamp(calls[0].substr(0, 17) + "\t")) << calls[0];
    EXPECT_EQ(calls[0].substr(17), ": ");
    EXPECT_EQ(calls[1], "INFO one\n");
    EXPECT_EQ(calls[3], "");

    mContext.SetDebugMsgProc(nullptr);
    LogAt(1, "nobody listens");
    EXPECT_EQ(mCapture.Calls().size(), 4u);
}

TEST_F(LogTest, ThreadsLoggingAtOnceNeverInterleaveTheirMessages)
{
    mContext.SetSystemPath(mFolder.Path());
    mContext.mLogIntoFile = true;
    mContext.mDebugViewOutput = 0;
    constexpr int Threads = 4;
    constexpr int Messages = 300;
    {
        std::vector<std::unique_ptr<Os::Thread>> threads;
        for (int t = 0; t < Threads; ++t) {
            threads.push_back(std::make_unique<Os::Thread>([this, t] {
                for (int i = 0; i < Messages; ++i) {
                    LogAt(2, "thread %d message %d %s", t, i, std::string(static_cast<std::size_t>(i % 50), 'x').c_str());
                }
            }));
        }
        for (auto& thread : threads) {
            EXPECT_TRUE(thread->Join(60000));
        }
    }
    mContext.FlushLogFile();

    // Every prefix is directly followed by its own message.
    const std::vector<std::string> calls = mCapture.Calls();
    ASSERT_EQ(calls.size(), 2u * Threads * Messages);
    for (std::size_t i = 0; i < calls.size(); i += 2) {
        ASSERT_EQ(calls[i].substr(17), ": ");
        ASSERT_EQ(calls[i + 1].rfind("thread ", 0), 0u) << calls[i + 1];
    }

    // Every line is whole, and each thread's lines keep their order.
    const std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(Threads * Messages));
    int next[Threads] = {};
    for (const std::string& line : lines) {
        ASSERT_TRUE(HasFileStamp(line)) << line;
        int t = -1;
        int i = -1;
        ASSERT_EQ(std::sscanf(MessageOf(line).c_str(), "thread %d message %d", &t, &i), 2) << line;
        ASSERT_TRUE(t >= 0 && t < Threads);
        EXPECT_EQ(i, next[t]++);
        EXPECT_EQ(MessageOf(line), "thread " + std::to_string(t) + " message " + std::to_string(i) + " " +
                                       std::string(static_cast<std::size_t>(i % 50), 'x'));
    }
}

TEST(LogFunctions, TheFreeFunctionsLogThroughTheDriversContext)
{
    DriverContext& context = DriverContext::Instance();
    EXPECT_EQ(&context, &DriverContext::Instance());
    TestSupport::LogCapture capture;
    context.SetDebugMsgProc(TestSupport::LogCapture::Callback());
    context.SetDebugOutput([](const char*) {});

    Log(3, "initialize: refcount=%d", 1);
    Log(4, "getCVLGrabRow: entering row=%d", 0);
    // Sizes and 64-bit values take the C99 formats on every target and bitness.
    Log(3, "%zu bytes at %lld", std::size_t{3000000000u}, -5000000000LL);
    EXPECT_EQ(capture.Messages(),
              (std::vector<std::string>{"initialize: refcount=1\n", "3000000000 bytes at -5000000000\n"}));

    context.mLogTimings = true;
    const std::size_t pending = context.PendingLineCount();
    LogTiming("ALL_CAMERAS", true, "CameraWaitThread started");
    EXPECT_EQ(context.PendingLineCount(), pending + 1);

    context.mLogTimings = false;
    context.SetDebugMsgProc(nullptr);
    context.SetDebugOutput(nullptr);
}
