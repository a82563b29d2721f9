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

template <class Body>
GC_ERROR Call(Operation operation, Body&& body) noexcept
{
    try {
        Producer& producer = Producer::Instance();
        std::unique_lock<std::mutex> lock(producer.GetMutex());
        GC_ERROR result = producer.Faults().OnCall(operation);
        if (result == GC_ERR_SUCCESS)
            result = body(producer);
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

// The same frame for the control API, which is neither counted nor faulted.
template <class Body>
GC_ERROR Control(Body&& body) noexcept
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

}
