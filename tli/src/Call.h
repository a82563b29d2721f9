// The frame of every producer operation: take the lock, count the call,
// answer an injected fault, wake a frame thread and join the frame threads
// the call stopped once the lock is released, and never let an exception
// reach the caller.
#pragma once

#include "Operations.h"
#include "Producer.h"
#include "Stream.h"

#include <mutex>

namespace Tli {

// Runs body under the producer's lock; what must wait for the lock's
// release (waking a frame thread, joining stopped ones) happens after it.
template <class Body>
GC_ERROR Locked(Body&& body) noexcept
{
    try {
        Producer& producer = Producer::Instance();
        std::unique_lock<std::mutex> lock(producer.GetMutex());
        const GC_ERROR result = body(producer);
        auto retired = producer.TakeRetiredThreads();
        const auto wake = producer.TakeWake();
        lock.unlock();
        if (wake)
            wake->Wake();
        JoinThreads(retired);
        return result;
    } catch (...) {
        return GC_ERR_ERROR;
    }
}

template <class Body>
GC_ERROR Call(Operation operation, Body&& body) noexcept
{
    return Locked([&](Producer& producer) {
        const GC_ERROR fault = producer.Faults().OnCall(operation);
        return fault != GC_ERR_SUCCESS ? fault : static_cast<GC_ERROR>(body(producer));
    });
}

// The same frame for the control API, which is neither counted nor faulted.
template <class Body>
GC_ERROR Control(Body&& body) noexcept
{
    return Locked(body);
}

}
