// The receiving thread of an acquisition: it waits for packets or the next
// frame's deadline, hands the packets to the assembler and lets it hand
// over the frames that are over. It starts when made and ends at Stop.
#pragma once

#include "os/Thread.h"
#include "stream/BufferExchange.h"
#include "stream/FrameAssembler.h"
#include "stream/PacketSource.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace Gige {

class Receiver {
public:
    // Raises std::system_error when the system refuses the thread. A
    // failure of the source goes to the exchange.
    Receiver(std::unique_ptr<PacketSource> source, std::unique_ptr<FrameAssembler> assembler,
             BufferExchange& exchange);
    // Stops it, unless Stop did.
    ~Receiver();
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;

    // Ends the thread and answers the processor time it used, in nanoseconds.
    std::uint64_t Stop();

private:
    void Run();

    std::unique_ptr<PacketSource> mSource;
    std::unique_ptr<FrameAssembler> mAssembler;
    BufferExchange& mExchange;
    std::atomic<bool> mStopping{false};
    std::uint64_t mProcessorNanoseconds = 0;
    // Last: the thread starts once everything it uses is there.
    std::unique_ptr<Os::Thread> mThread;
};

}
