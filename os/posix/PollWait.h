// The wait of the network objects: for input on a descriptor, a time-out,
// or a wake through an eventfd.
#pragma once

#include "os/WaitResult.h"

#include <cstdint>

namespace Os {

// Ready when fd has input (or an error the next read reports), Woken when
// wakeFd was signalled (and drains it; a wake wins over input). Os::Infinite
// waits without limit.
WaitResult PollWait(int fd, int wakeFd, std::uint32_t timeoutMs);

}
