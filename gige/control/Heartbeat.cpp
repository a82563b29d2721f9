#include "control/Heartbeat.h"

#include <algorithm>
#include <chrono>

namespace Gige {

Heartbeat::Heartbeat(std::uint32_t periodMs, std::function<bool()> probe)
    : mPeriodMs(periodMs), mProbe(std::move(probe)), mThread([this] { Run(); })
{
}

Heartbeat::~Heartbeat()
{
    Stop();
}

std::uint32_t Heartbeat::PeriodFor(std::uint32_t heartbeatTimeoutMs)
{
    return std::clamp<std::uint32_t>(heartbeatTimeoutMs / 3, 100, 1000);
}

void Heartbeat::Stop() noexcept
{
    {
        const std::lock_guard<std::mutex> guard(mMutex);
        mStop = true;
    }
    mStopRequested.notify_all();
    if (mThread.joinable() && mThread.get_id() != std::this_thread::get_id()) {
        try {
            mThread.join();
        } catch (...) {
            mThread.detach();
        }
    }
}

void Heartbeat::Run()
{
    std::unique_lock<std::mutex> guard(mMutex);
    for (;;) {
        if (mStopRequested.wait_for(guard, std::chrono::milliseconds(mPeriodMs), [this] { return mStop; }))
            return;
        guard.unlock();
        // A probe that could not even run (out of memory) says nothing of the camera.
        bool alive = true;
        try {
            alive = mProbe();
        } catch (...) {
        }
        guard.lock();
        if (!alive)
            return;
    }
}

}
