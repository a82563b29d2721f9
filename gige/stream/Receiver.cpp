#include "stream/Receiver.h"

#include "os/System.h"

#include <algorithm>

namespace Gige {

Receiver::Receiver(std::unique_ptr<PacketSource> source, std::unique_ptr<FrameAssembler> assembler,
                   BufferExchange& exchange)
    : mSource(std::move(source)),
      mAssembler(std::move(assembler)),
      mExchange(exchange),
      mThread(std::make_unique<Os::Thread>([this] { Run(); }))
{
}

Receiver::~Receiver()
{
    if (mThread != nullptr) {
        Stop();
    }
}

std::uint64_t Receiver::Stop()
{
    if (mThread == nullptr) {
        return mProcessorNanoseconds;
    }
    mStopping.store(true, std::memory_order_release);
    mSource->Wake();
    // The thread never waits for anything but its source, which the wake
    // ends, and the stream's lock, which no one holds for long.
    mThread->Join(Os::Infinite);
    mThread.reset();
    return mProcessorNanoseconds;
}

void Receiver::Run()
{
    // What top -H and the benchmark find the receiver's processor time by.
    Os::NameCallingThread("kavrix-gvsp");
    const long long hold = mSource->HoldMs();
    long long seen = Os::MonotonicMilliseconds() - hold;
    while (!mStopping.load(std::memory_order_acquire)) {
        const long long due = mAssembler->Service(seen);
        std::uint32_t timeoutMs = Os::Infinite;
        if (due != FrameAssembler::NoDeadline) {
            // Once the system has held back nothing from before the deadline.
            const long long left = due + hold - Os::MonotonicMilliseconds();
            timeoutMs = static_cast<std::uint32_t>(std::clamp<long long>(left, 0, Os::Infinite - 1));
        }
        const Os::WaitResult result = mSource->Wait(timeoutMs);
        if (result == Os::WaitResult::TimedOut) {
            seen = Os::MonotonicMilliseconds() - hold;
        } else if (result == Os::WaitResult::Failed ||
                   (result == Os::WaitResult::Ready && !mSource->Receive(*mAssembler, seen))) {
            mExchange.ReceivingFailed(mSource->LastError());
            break;
        }
    }
    // Read by Stop after the join.
    mProcessorNanoseconds = Os::ThreadProcessorNanoseconds();
}

}
