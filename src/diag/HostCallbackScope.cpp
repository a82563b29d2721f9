#include "diag/HostCallbackScope.h"

#include <array>
#include <mutex>
#include <thread>

namespace {

// The threads inside a host callback, with how deeply (a callback can log, and
// so enter the debug callback again). A small table instead of thread-local
// storage: the dynamic thread-local storage of a library that hosts load and
// unload at run time makes the leak checker of the sanitizer builds crash.
// Host callbacks run one thread at a time per kind (the debug callback under
// its lock, completion callbacks on the wait thread), so a few entries do.
struct Entry {
    std::thread::id thread;
    // How deeply inside each kind of callback.
    std::array<int, 2> depth{};
};

struct Table {
    std::mutex lock;
    std::array<Entry, 16> entries;
    // Marks that found no free entry; while there are any, every thread
    // counts as inside a callback, the safe side for what asks.
    int overflow = 0;
};

Table& Threads()
{
    static Table table;
    return table;
}

Entry* Find(Table& table, std::thread::id thread)
{
    for (Entry& entry : table.entries) {
        if (entry.thread == thread) {
            return &entry;
        }
    }
    return nullptr;
}

std::size_t Index(HostCallbackScope::Kind kind)
{
    return kind == HostCallbackScope::Kind::Debug ? 0 : 1;
}

}

HostCallbackScope::HostCallbackScope(Kind kind) noexcept : mKind(kind)
{
    Table& table = Threads();
    const std::lock_guard<std::mutex> lock(table.lock);
    Entry* entry = Find(table, std::this_thread::get_id());
    if (entry == nullptr) {
        entry = Find(table, std::thread::id());
    }
    if (entry == nullptr) {
        ++table.overflow;
        return;
    }
    entry->thread = std::this_thread::get_id();
    ++entry->depth[Index(mKind)];
}

HostCallbackScope::~HostCallbackScope()
{
    Table& table = Threads();
    const std::lock_guard<std::mutex> lock(table.lock);
    Entry* entry = Find(table, std::this_thread::get_id());
    if (entry == nullptr) {
        --table.overflow;
        return;
    }
    --entry->depth[Index(mKind)];
    if (entry->depth[0] == 0 && entry->depth[1] == 0) {
        entry->thread = std::thread::id();
    }
}

bool HostCallbackScope::IsActive() noexcept
{
    return IsActive(Kind::Debug) || IsActive(Kind::Completion);
}

bool HostCallbackScope::IsActive(Kind kind) noexcept
{
    Table& table = Threads();
    const std::lock_guard<std::mutex> lock(table.lock);
    const Entry* entry = Find(table, std::this_thread::get_id());
    return table.overflow > 0 || (entry != nullptr && entry->depth[Index(kind)] > 0);
}
