// How a wait for incoming data ended.
#pragma once

// Os::Infinite, the time-out without limit.
#include "os/Event.h"

namespace Os {

enum class WaitResult {
    Ready,     // there is something to read
    TimedOut,
    Woken,     // another thread called Wake
    Failed,    // the object is closed or the system failed
};

}
