// Makes allocations of the calling thread fail on request, to show how the
// driver meets exhausted memory. The test binary that links
// FailingAllocation.cpp has its global operator new replaced for that.
#pragma once

namespace TestSupport {

class FailingAllocation {
public:
    // The next skip allocations of this thread succeed, then count of them
    // raise std::bad_alloc (or, asked without exceptions, give null).
    explicit FailingAllocation(int skip, int count = 1);
    // Whatever is left of the failures is called off.
    ~FailingAllocation();
    FailingAllocation(const FailingAllocation&) = delete;
    FailingAllocation& operator=(const FailingAllocation&) = delete;

    // Failures not yet used up.
    int Remaining() const;
};

}
