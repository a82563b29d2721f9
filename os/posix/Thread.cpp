// Threads on std::thread, with an end flag so that a join can give up after
// a time-out. POSIX cannot end a thread safely from outside, so a thread that
// does not finish is detached and runs on until it ends by itself.
#include "os/Thread.h"

#include "os/Event.h"
#include "os/ThreadBody.h"

#include <pthread.h>
#include <sched.h>
#include <time.h>

#include <chrono>
#include <cstring>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace Os {

namespace {

// Shared with the running thread, which may outlive its Thread object.
struct Completion {
    std::mutex mLock;
    std::condition_variable mEnded;
    bool mFinished = false;
};

}

struct Thread::State {
    std::shared_ptr<Completion> mCompletion = std::make_shared<Completion>();
    std::thread mThread;

    bool HasFinished()
    {
        std::lock_guard<std::mutex> lock(mCompletion->mLock);
        return mCompletion->mFinished;
    }

    // Joins a finished thread, detaches one that still runs.
    void Release()
    {
        if (!mThread.joinable()) {
            return;
        }
        if (HasFinished()) {
            mThread.join();
        } else {
            mThread.detach();
        }
    }
};

Thread::Thread(std::function<void()> body) : mState(std::make_unique<State>())
{
    mState->mThread = std::thread([completion = mState->mCompletion, body = std::move(body)]() {
        RunThreadBody(body);
        {
            std::lock_guard<std::mutex> lock(completion->mLock);
            completion->mFinished = true;
        }
        completion->mEnded.notify_all();
    });
}

Thread::~Thread()
{
    mState->Release();
}

bool Thread::Join(std::uint32_t timeoutMs)
{
    Completion& completion = *mState->mCompletion;
    {
        std::unique_lock<std::mutex> lock(completion.mLock);
        const auto finished = [&completion] { return completion.mFinished; };
        if (timeoutMs == Infinite) {
            completion.mEnded.wait(lock, finished);
        } else if (!completion.mEnded.wait_for(lock, std::chrono::milliseconds(timeoutMs), finished)) {
            return false;
        }
    }
    if (mState->mThread.joinable()) {
        mState->mThread.join();
    }
    return true;
}

unsigned long Thread::GetId() const
{
    return static_cast<unsigned long>(mState->mThread.native_handle());
}

bool Thread::EndsByForce()
{
    return false;
}

void Thread::Abandon(int)
{
    mState->Release();
}

bool Thread::IsRunning() const
{
    return !mState->HasFinished();
}

void StopPreemptingOnWake()
{
    // The batch policy keeps the thread's share of processor time; only its
    // wake-ups no longer preempt.
    const sched_param parameters{};
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &parameters);
}

void NameCallingThread(const char* name)
{
    char shortened[16] = {};
    std::strncpy(shortened, name, sizeof shortened - 1);
    pthread_setname_np(pthread_self(), shortened);
}

std::uint64_t ThreadProcessorNanoseconds()
{
    timespec used{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used) != 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(used.tv_sec) * 1000000000u + static_cast<std::uint64_t>(used.tv_nsec);
}

}
