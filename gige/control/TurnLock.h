// A lock that hands out turns in the order they were asked for. The control
// channel has one request in flight; with an ordinary mutex a thread that
// reads a long block in many requests could take the lock back at once, time
// after time, and starve the heartbeat. Here the heartbeat waits for one
// request at most.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace Gige {

class TurnLock {
public:
    void lock();
    void unlock();

private:
    std::mutex mMutex;
    std::condition_variable mTurnChanged;
    std::uint64_t mNextTicket = 0;
    std::uint64_t mServing = 0;
};

}
