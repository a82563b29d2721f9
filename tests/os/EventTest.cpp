#include "os/Event.h"
#include "os/Thread.h"

#include <gtest/gtest.h>

#include <chrono>

using Os::Event;

namespace {

int Wait(std::initializer_list<Event*> events, std::uint32_t timeoutMs)
{
    return Os::WaitForAny(events.begin(), events.size(), timeoutMs);
}

long long ElapsedMs(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since).count();
}

}

TEST(Event, WaitReturnsTheLowestSetIndexAndConsumesOnlyAutoResetEvents)
{
    Event first(Event::Mode::AutoReset);
    Event manual(Event::Mode::ManualReset);
    Event last(Event::Mode::AutoReset);

    last.Set();
    manual.Set();
    EXPECT_EQ(Wait({&first, &manual, &last}, 0), 1);
    EXPECT_EQ(Wait({&first, &manual, &last}, 0), 1) << "a manual-reset event stays set";
    manual.Reset();
    EXPECT_EQ(Wait({&first, &manual, &last}, 0), 2);
    EXPECT_EQ(Wait({&first, &manual, &last}, 0), Os::WaitTimeout) << "an auto-reset event is consumed once";

    first.Set();
    first.Set();
    EXPECT_EQ(Wait({&first, &last}, 0), 0);
    EXPECT_EQ(Wait({&first, &last}, 0), Os::WaitTimeout) << "setting twice still wakes only one wait";

    Event initiallySet(Event::Mode::AutoReset, true);
    EXPECT_EQ(Wait({&initiallySet}, 0), 0);
    initiallySet.Set();
    initiallySet.Reset();
    EXPECT_EQ(Wait({&initiallySet}, 0), Os::WaitTimeout);
}

TEST(Event, WaitTimesOutAfterItsTimeAndRejectsBadArguments)
{
    Event event(Event::Mode::AutoReset);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Wait({&event}, 150), Os::WaitTimeout);
    const long long elapsed = ElapsedMs(start);
    EXPECT_GE(elapsed, 140);
    EXPECT_LT(elapsed, 2000);

    EXPECT_EQ(Os::WaitForAny(nullptr, 1, 0), Os::WaitFailed);
    Event* none[1] = {nullptr};
    EXPECT_EQ(Os::WaitForAny(none, 1, 0), Os::WaitFailed);
    Event* events[Os::MaxWaitEvents + 1];
    for (Event*& slot : events) {
        slot = &event;
    }
    EXPECT_EQ(Os::WaitForAny(events, 0, 0), Os::WaitFailed);
    EXPECT_EQ(Os::WaitForAny(events, Os::MaxWaitEvents + 1, 0), Os::WaitFailed);
    event.Set();
    EXPECT_EQ(Os::WaitForAny(events, Os::MaxWaitEvents, 0), 0);
}

TEST(Event, AnotherThreadWakesTheWaitThroughTheEventOrOnlyItsNativeHandle)
{
    Event stop(Event::Mode::AutoReset);
    Event image(Event::Mode::AutoReset);

    Os::Thread setter([&stop] {
        Os::SleepMs(50);
        stop.Set();
    });
    EXPECT_EQ(Wait({&image, &stop}, Os::Infinite), 1);
    EXPECT_TRUE(setter.Join(Os::Infinite));

    // The producer knows only the native handle of the event registered with it.
    const Os::NativeEvent native = image.GetNative();
    Os::Thread producer([native] {
        Os::SleepMs(50);
        Os::SetNativeEvent(native);
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Wait({&stop, &image}, 5000), 1);
    EXPECT_LT(ElapsedMs(start), 4000);
    EXPECT_TRUE(producer.Join(Os::Infinite));

    Os::SetNativeEvent(native);
    Os::ResetNativeEvent(native);
    EXPECT_EQ(Wait({&image}, 0), Os::WaitTimeout);
}
