// The heartbeat's thread: its period, the end of a lost camera, a prompt stop.
#include "control/Heartbeat.h"
#include "control/TurnLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using namespace Gige;
using Clock = std::chrono::steady_clock;

TEST(Heartbeat, ProbesEachPeriodEndsWhenLostAndStopsAtOnce)
{
    EXPECT_EQ(Heartbeat::PeriodFor(3000), 1000u);
    EXPECT_EQ(Heartbeat::PeriodFor(600), 200u);
    EXPECT_EQ(Heartbeat::PeriodFor(30), 100u);
    EXPECT_EQ(Heartbeat::PeriodFor(60000), 1000u) << "a long timeout still notices a lost camera soon";

    std::atomic<int> probes{0};
    {
        Heartbeat beat(20, [&] { return ++probes < 3; });
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        while (probes < 3 && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(probes, 3) << "no probe after the one that lost the camera";

    std::atomic<int> calls{0};
    const auto start = Clock::now();
    {
        Heartbeat beat(10000, [&] { return ++calls > 0; });
    }
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000)) << "stopping does not wait for the period";
    EXPECT_EQ(calls, 0);
}

TEST(TurnLock, TurnsGoInTheOrderAsked)
{
    TurnLock lock;
    std::vector<int> order;
    lock.lock();
    std::vector<std::thread> waiting;
    for (int i = 0; i < 3; ++i) {
        waiting.emplace_back([&, i] {
            lock.lock();
            order.push_back(i);
            lock.unlock();
        });
        // Each asks after the one before.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    lock.unlock();
    for (std::thread& thread : waiting)
        thread.join();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
}
