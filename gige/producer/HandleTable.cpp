#include "producer/HandleTable.h"

#include <atomic>
#include <cstdint>

namespace Gige {

void* NewHandleValue()
{
    // Aligned like heap pointers, far from small integers a driver might
    // confuse with a handle.
    static std::atomic<std::uintptr_t> next{0x20000};
    return reinterpret_cast<void*>(next.fetch_add(0x10));
}

}
