#include "stream/Receiver.h"

#include "os/System.h"

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
    while (!mStopping.load(std::memory_order_acquire)) {
        const std::uint32_t timeoutMs = mAssembler->Service(Os::MonotonicMilliseconds());
        const Os::WaitResult result = mSource->Wait(timeoutMs);
        if (result == Os::WaitResult::Failed || (result == Os::WaitResult::Ready && !mSource->Receive(*mAssembler))) {
            mExchange.ReceivingFailed(mSource->LastError());
            break;
        }
    }
    // Read by Stop after the join.
    mProcessorNanoseconds = Os::ThreadProcessorNanoseconds();
}

}
