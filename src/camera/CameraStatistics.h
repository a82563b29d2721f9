// A camera's counters, changed with interlocked operations so the host may
// print and reset them while images arrive.
#pragma once

#include <atomic>
#include <cstdint>

struct CameraStatistics {
    // Image events processed, whatever became of the image.
    std::atomic<std::int32_t> mFrames{0};
    // Images discarded while not grabbing, and images delivered without a callback.
    std::atomic<std::int32_t> mDropped{0};
    // Printed and reset with the others; nothing counts it.
    std::atomic<std::int32_t> mGrabInProgress{0};
};
