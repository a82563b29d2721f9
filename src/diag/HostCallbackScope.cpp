#include "diag/HostCallbackScope.h"

namespace {

// A count, not a flag: a callback can log, and so enter the debug callback again.
thread_local int tCallbackDepth = 0;

}

HostCallbackScope::HostCallbackScope() noexcept
{
    ++tCallbackDepth;
}

HostCallbackScope::~HostCallbackScope()
{
    --tCallbackDepth;
}

bool HostCallbackScope::IsActive() noexcept
{
    return tCallbackDepth > 0;
}
