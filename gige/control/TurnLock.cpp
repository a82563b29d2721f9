#include "control/TurnLock.h"

namespace Gige {

void TurnLock::lock()
{
    std::unique_lock<std::mutex> guard(mMutex);
    const std::uint64_t ticket = mNextTicket++;
    mTurnChanged.wait(guard, [&] { return mServing == ticket; });
}

void TurnLock::unlock()
{
    {
        const std::lock_guard<std::mutex> guard(mMutex);
        ++mServing;
    }
    mTurnChanged.notify_all();
}

}
