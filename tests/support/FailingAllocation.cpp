#include "support/FailingAllocation.h"

#include <cstdlib>
#include <new>

namespace {

// Per thread: the test's failures never reach the test framework's threads.
thread_local int tSkip = 0;
thread_local int tFailures = 0;

void* Allocate(std::size_t size) noexcept
{
    if (tFailures > 0) {
        if (tSkip == 0) {
            --tFailures;
            return nullptr;
        }
        --tSkip;
    }
    return std::malloc(size != 0 ? size : 1);
}

void* AllocateOrThrow(std::size_t size)
{
    void* memory = Allocate(size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

}

namespace TestSupport {

FailingAllocation::FailingAllocation(int skip, int count)
{
    tSkip = skip;
    tFailures = count;
}

FailingAllocation::~FailingAllocation()
{
    tSkip = 0;
    tFailures = 0;
}

int FailingAllocation::Remaining() const
{
    return tFailures;
}

}

void* operator new(std::size_t size)
{
    return AllocateOrThrow(size);
}

void* operator new[](std::size_t size)
{
    return AllocateOrThrow(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}
