#include "camsim/FrameClock.h"

namespace CamSim {

FrameClock::Clock::time_point FrameClock::NextDue(const Camera& camera)
{
    if (!mRunning) {
        mRunning = true;
        mNext = Clock::now() + camera.FramePeriod();
    }
    return mNext;
}

void FrameClock::Advance(const Camera& camera)
{
    const auto now = Clock::now();
    mNext += camera.FramePeriod();
    if (mNext < now)
        mNext = now + camera.FramePeriod();
}

}
