// The silence fault: while it is on, every camera of the program answers
// nothing and sends no stream packet, as if its cable were pulled. The main
// thread switches it; the cameras' threads look at it.
#pragma once

#include <atomic>

namespace GigeCamera {

class Silence {
public:
    bool IsOn() const { return mOn.load(std::memory_order_relaxed); }
    void Set(bool on) { mOn.store(on, std::memory_order_relaxed); }

private:
    std::atomic<bool> mOn{false};
};

}
