// When a free-running camera's frames fall due: the first one frame time
// after the start, then one every frame time. A camera never sends frames in
// a burst to catch up: a frame sent late moves the ones after it.
#pragma once

#include "camsim/Camera.h"

#include <chrono>

namespace CamSim {

class FrameClock {
public:
    using Clock = std::chrono::steady_clock;

    // The camera stopped running free: the next start counts afresh.
    void Stop() { mRunning = false; }
    // When the next frame falls due; the first call after a stop starts the clock.
    Clock::time_point NextDue(const Camera& camera);
    // The frame that fell due has gone.
    void Advance(const Camera& camera);

private:
    bool mRunning = false;
    Clock::time_point mNext;
};

}
