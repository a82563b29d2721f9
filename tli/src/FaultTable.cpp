#include "FaultTable.h"

namespace Tli {

GC_ERROR FaultTable::OnCall(Operation operation)
{
    const auto index = static_cast<std::size_t>(operation);
    ++mCalls[index];
    Fault& fault = mFaults[index];
    if (fault.mCode == GC_ERR_SUCCESS)
        return GC_ERR_SUCCESS;
    if (fault.mSkip > 0) {
        --fault.mSkip;
        return GC_ERR_SUCCESS;
    }
    const GC_ERROR code = fault.mCode;
    if (!fault.mForever && --fault.mRemaining == 0)
        fault = Fault{};
    return code;
}

void FaultTable::Inject(Operation operation, GC_ERROR code, std::uint32_t skip, std::uint32_t count)
{
    Fault& fault = mFaults[static_cast<std::size_t>(operation)];
    fault.mCode = code;
    fault.mSkip = skip;
    fault.mRemaining = count;
    fault.mForever = count == 0;
}

void FaultTable::ClearFaults()
{
    mFaults.fill(Fault{});
}

void FaultTable::Clear()
{
    ClearFaults();
    mCalls.fill(0);
}

std::int64_t FaultTable::CallCount(Operation operation) const
{
    return mCalls[static_cast<std::size_t>(operation)];
}

}
