#include "diag/DriverContext.h"

namespace {

// Makes the context when the driver is loaded, before any export runs, so
// that it is also destroyed (and writes its pending lines) only after every
// object made later, such as the camera list, has gone.
[[maybe_unused]] DriverContext& gContextAtLoad = DriverContext::Instance();

}

DriverContext& DriverContext::Instance()
{
    static DriverContext context;
    return context;
}

DriverContext::DriverContext() : mDebugOutput(&Os::DebugOutput)
{
}

DriverContext::~DriverContext()
{
    // The last chance for the pending lines: tried whatever failed before.
    WritePending(true);
}

void DriverContext::SetDebugMsgProc(DebugMsgProc proc)
{
    std::lock_guard<std::recursive_mutex> lock(mCallbackLock);
    mDebugMsgProc = proc;
}

DebugMsgProc DriverContext::GetDebugMsgProc() const
{
    std::lock_guard<std::recursive_mutex> lock(mCallbackLock);
    return mDebugMsgProc;
}

void DriverContext::SetSystemPath(const std::string& path)
{
    std::lock_guard<std::mutex> lock(mLogLinesLock);
    if (path == mSystemPath) {
        return;
    }
    mSystemPath = path;
    // Another file: its first line is written whole, and at once.
    mWrittenOfFirst = 0;
    mWriteFailed = false;
}

std::string DriverContext::GetSystemPath() const
{
    std::lock_guard<std::mutex> lock(mLogLinesLock);
    return mSystemPath;
}

void DriverContext::SetDebugOutput(DebugOutputProc output)
{
    mDebugOutput.store(output != nullptr ? output : &Os::DebugOutput);
}
