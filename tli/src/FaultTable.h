// Call counts and injected failures of the producer operations. Not locked:
// the producer's state lock guards it.
#pragma once

#include "Operations.h"
#include "TLI.h"

#include <array>
#include <cstdint>

namespace Tli {

class FaultTable {
public:
    // Counts the call and answers the code it must fail with, or 0.
    GC_ERROR OnCall(Operation operation);

    // The next skip calls succeed, then count calls fail (count 0: all).
    void Inject(Operation operation, GC_ERROR code, std::uint32_t skip, std::uint32_t count);
    void ClearFaults();
    void Clear();
    std::int64_t CallCount(Operation operation) const;

private:
    struct Fault {
        GC_ERROR mCode = GC_ERR_SUCCESS;
        std::uint32_t mSkip = 0;
        std::uint32_t mRemaining = 0;
        bool mForever = false;
    };
    std::array<Fault, OperationCount> mFaults{};
    std::array<std::int64_t, OperationCount> mCalls{};
};

}
