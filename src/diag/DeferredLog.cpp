#include "diag/DeferredLog.h"

#include "diag/DriverContext.h"

#include <array>
#include <mutex>
#include <thread>

namespace {

// The threads that defer, each with its outermost collector. A small table
// instead of thread-local storage, as in HostCallbackScope: the dynamic
// thread-local storage of a library that hosts load and unload makes the
// sanitizers' leak checker crash. A thread that finds no free entry delivers
// at once, as before deferral existed.
struct Entry {
    std::thread::id thread;
    DeferredLog* collector = nullptr;
};

struct Table {
    std::mutex lock;
    std::array<Entry, 64> entries;
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

// Makes collector the thread's outermost collector; false when the thread has
// one already or the table is full.
bool Enter(DeferredLog* collector)
{
    Table& table = Threads();
    const std::lock_guard<std::mutex> lock(table.lock);
    if (Find(table, std::this_thread::get_id()) != nullptr) {
        return false;
    }
    Entry* entry = Find(table, std::thread::id());
    if (entry == nullptr) {
        return false;
    }
    entry->thread = std::this_thread::get_id();
    entry->collector = collector;
    return true;
}

void Leave()
{
    Table& table = Threads();
    const std::lock_guard<std::mutex> lock(table.lock);
    if (Entry* entry = Find(table, std::this_thread::get_id())) {
        *entry = Entry();
    }
}

}

DeferredLog::DeferredLog() : mOutermost(Enter(this)) {}

DeferredLog::~DeferredLog()
{
    if (!mOutermost) {
        return;
    }
    Leave();
    try {
        Deliver();
    } catch (...) {
        // Out of memory while delivering: the rest of the messages are lost,
        // never the caller's state.
    }
}

void DeferredLog::Flush()
{
    if (!mOutermost) {
        return;
    }
    Leave();
    Deliver();
    mOutermost = Enter(this);
}

void DeferredLog::Deliver()
{
    std::vector<std::pair<unsigned, std::string>> messages;
    messages.swap(mMessages);
    for (const auto& message : messages) {
        DriverContext::Instance().Deliver(message.first, message.second.c_str());
    }
}

bool DeferredLog::Keep(unsigned sinks, const char* text)
{
    Table& table = Threads();
    const std::lock_guard<std::mutex> lock(table.lock);
    Entry* entry = Find(table, std::this_thread::get_id());
    if (entry == nullptr) {
        return false;
    }
    try {
        entry->collector->mMessages.emplace_back(sinks, text);
    } catch (...) {
        return false;
    }
    return true;
}
