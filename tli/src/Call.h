// The frame of every producer operation: take the lock, count the call,
// answer an injected fault, and never let an exception reach the caller.
#pragma once

#include "Operations.h"
#include "Producer.h"

#include <mutex>

namespace Tli {

template <class Body>
GC_ERROR Call(Operation operation, Body&& body) noexcept
{
    try {
        Producer& producer = Producer::Instance();
        std::unique_lock<std::mutex> lock(producer.GetMutex());
        if (const GC_ERROR fault = producer.Faults().OnCall(operation))
            return fault;
        return body(producer, lock);
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
        std::lock_guard<std::mutex> lock(producer.GetMutex());
        return body(producer);
    } catch (...) {
        return GC_ERR_ERROR;
    }
}

}
