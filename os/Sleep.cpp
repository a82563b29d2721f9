#include "os/Thread.h"

#include <chrono>
#include <thread>

namespace Os {

void SleepMs(std::uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}
