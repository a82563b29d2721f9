// The host's debug callback as the driver calls it: read once per message,
// behind a catch-all of the driver's own, and marked as a host callback.
#include "DiagTestSupport.h"

#include "diag/HostCallbackScope.h"
#include "os/Event.h"
#include "os/Thread.h"

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

DriverContext* gContext = nullptr;
std::vector<std::string> gReceived;
bool gMarked = false;
bool gMarkedOnOtherThread = true;

void SwitchesItselfOff(const char* text)
{
    gReceived.emplace_back(text);
    gContext->SetDebugMsgProc(nullptr);
}

void ThrowsStandard(const char* text)
{
    gReceived.emplace_back(text);
    throw std::runtime_error("host failure");
}

void ThrowsAnything(const char* text)
{
    gReceived.emplace_back(text);
    throw 42;
}

void NotesTheMark(const char*)
{
    gMarked = HostCallbackScope::IsActive();
    Os::Thread other([] { gMarkedOnOtherThread = HostCallbackScope::IsActive(); });
    other.Join(Os::Infinite);
}

class HostCallbackTest : public DiagTest {
protected:
    HostCallbackTest()
    {
        gContext = &mContext;
        gReceived.clear();
    }
    ~HostCallbackTest() override { gContext = nullptr; }
};

TEST_F(HostCallbackTest, ACallbackThatSwitchesItselfOffStillGetsTheTextOfItsMessage)
{
    mContext.SetDebugMsgProc(&SwitchesItselfOff);
    LogAt(1, "first");
    ASSERT_EQ(gReceived.size(), 2u);
    EXPECT_EQ(gReceived[1], "first\n");
    LogAt(1, "second");
    EXPECT_EQ(gReceived.size(), 2u);
}

TEST_F(HostCallbackTest, WhatTheCallbackThrowsStaysInTheDriverAndIsReportedOnlyOnTheDebugOutput)
{
    mContext.SetSystemPath(mFolder.Path());
    mContext.mLogIntoFile = true;
    mContext.mDebugViewOutput = 1;
    for (const DebugMsgProc callback : {&ThrowsStandard, &ThrowsAnything}) {
        gReceived.clear();
        mContext.SetDebugMsgProc(callback);
        LogAt(2, "Camera::Open: entering port=%d", 3);
        LogAt(1, "Camera::Open: ERROR: %s", "no stream");
        // A throw ends the delivery of its message: the text does not follow the prefix.
        ASSERT_EQ(gReceived.size(), 2u);
        EXPECT_EQ(gReceived[0].substr(17), ": ");
        EXPECT_EQ(gReceived[1].substr(17), ": ");
        EXPECT_FALSE(HostCallbackScope::IsActive());
    }
    // Reported at level 1 to the debug output, never again to the callback.
    const std::string report = "Log: ERROR: the host's debug callback raised an exception on: ";
    EXPECT_EQ(DebugOutputTexts(),
              (std::vector<std::string>{report + "Camera::Open: entering port=3\n",
                                        "Camera::Open: ERROR: no stream\n",
                                        report + "Camera::Open: ERROR: no stream\n",
                                        report + "Camera::Open: entering port=3\n",
                                        "Camera::Open: ERROR: no stream\n",
                                        report + "Camera::Open: ERROR: no stream\n"}));
    // Nothing is lost for the file.
    mContext.FlushLogFile();
    EXPECT_EQ(FileLines().size(), 4u);

    mContext.mDebugViewOutput = 0;
    LogAt(1, "quiet");
    EXPECT_EQ(DebugOutputTexts().size(), 6u) << "a debug output switched off stays off";
}

TEST_F(HostCallbackTest, TheCallbackRunsMarkedAsAHostCallbackOnItsOwnThreadOnly)
{
    EXPECT_FALSE(HostCallbackScope::IsActive());
    mContext.SetDebugMsgProc(&NotesTheMark);
    LogAt(1, "marked");
    EXPECT_TRUE(gMarked);
    EXPECT_FALSE(gMarkedOnOtherThread);
    EXPECT_FALSE(HostCallbackScope::IsActive());
    {
        const HostCallbackScope outer(HostCallbackScope::Kind::Completion);
        {
            const HostCallbackScope inner(HostCallbackScope::Kind::Debug);
            EXPECT_TRUE(HostCallbackScope::IsActive(HostCallbackScope::Kind::Debug));
        }
        EXPECT_TRUE(HostCallbackScope::IsActive()) << "nested marks count";
        EXPECT_FALSE(HostCallbackScope::IsActive(HostCallbackScope::Kind::Debug)) << "each kind by itself";
    }
    EXPECT_FALSE(HostCallbackScope::IsActive());
}

// More threads inside callbacks at once than the driver keeps track of: then
// every thread counts as inside one, until they have all left.
TEST(HostCallbackScopeTest, TooManyThreadsAtOnceMarkEveryThread)
{
    constexpr int Threads = 40;
    Os::Event leave(Os::Event::Mode::ManualReset);
    Os::Event* const waitFor[] = {&leave};
    std::atomic<int> inside{0};
    std::vector<std::unique_ptr<Os::Thread>> threads;
    for (int t = 0; t < Threads; ++t) {
        threads.push_back(std::make_unique<Os::Thread>([&] {
            const HostCallbackScope mark(HostCallbackScope::Kind::Completion);
            ++inside;
            Os::WaitForAny(waitFor, 1, Os::Infinite);
        }));
    }
    while (inside < Threads) {
        Os::SleepMs(1);
    }
    EXPECT_TRUE(HostCallbackScope::IsActive());
    leave.Set();
    for (auto& thread : threads) {
        EXPECT_TRUE(thread->Join(10000));
    }
    EXPECT_FALSE(HostCallbackScope::IsActive());
}

}
