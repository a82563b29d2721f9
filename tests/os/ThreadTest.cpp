#include "os/Event.h"
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
