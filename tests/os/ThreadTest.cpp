#include "os/Event.h"
#include "os/System.h"
#include "os/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>

TEST(Thread, JoinWaitsForTheEndOrGivesUpAfterItsTimeOut)
{
    Os::Event release(Os::Event::Mode::ManualReset);
    std::atomic<bool> ran{false};
    Os::Thread thread([&] {
        Os::Event* events[] = {&release};
        Os::WaitForAny(events, 1, Os::Infinite);
        ran = true;
    });

    EXPECT_FALSE(thread.Join(100));
    EXPECT_TRUE(thread.IsRunning());
    EXPECT_FALSE(ran);

    release.Set();
    EXPECT_TRUE(thread.Join(5000));
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_TRUE(ran);
    EXPECT_TRUE(thread.Join(0)) << "joining again after the end";
}

TEST(Thread, AbandonReleasesAThreadThatDoesNotEnd)
{
    // What the stuck thread uses must outlive the test on systems that let it run on.
    auto release = std::make_shared<Os::Event>(Os::Event::Mode::ManualReset);
    {
        Os::Thread thread([release] {
            Os::Event* events[] = {release.get()};
            Os::WaitForAny(events, 1, Os::Infinite);
        });
        EXPECT_FALSE(thread.Join(50));
        thread.Abandon();
#if defined(_WIN32)
        EXPECT_FALSE(thread.IsRunning()) << "Windows terminates it";
#endif
    }
    release->Set();
}

TEST(Thread, AnExceptionOutOfTheBodyEndsOnlyTheThread)
{
    Os::Thread thread([] { throw std::runtime_error("thrown by a thread body"); });
    EXPECT_TRUE(thread.Join(5000));
    EXPECT_FALSE(thread.IsRunning());
}

TEST(Thread, ProcessorTimeCountsTheCallingThreadsWorkNotItsWaits)
{
    const std::uint64_t start = Os::ThreadProcessorNanoseconds();
    // Another thread's work is not this thread's.
    Os::Thread busy([] {
        const std::uint64_t begin = Os::ThreadProcessorNanoseconds();
        volatile std::uint64_t sink = 0;
        while (Os::ThreadProcessorNanoseconds() - begin < 30000000u) {
            sink = sink + 1;
        }
    });
    ASSERT_TRUE(busy.Join(Os::Infinite));
    Os::SleepMs(50);
    EXPECT_LT(Os::ThreadProcessorNanoseconds() - start, 20000000u) << "waiting costs no processor time";

    // Work does; the count may move in steps of the system's tick.
    const std::uint64_t before = Os::ThreadProcessorNanoseconds();
    const long long deadline = Os::MonotonicMilliseconds() + 10000;
    volatile std::uint64_t sink = 0;
    while (Os::ThreadProcessorNanoseconds() == before && Os::MonotonicMilliseconds() < deadline) {
        sink = sink + 1;
    }
    EXPECT_GT(Os::ThreadProcessorNanoseconds(), before);
}
