#include "producer/LastError.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <thread>

namespace Gige {

namespace {

struct Entry {
    std::thread::id mThread;
    GC_ERROR mCode = GC_ERR_SUCCESS;
    std::string mText;
    std::uint64_t mAge = 0;
};

// Hosts call the producer from a few threads; 32 leaves room.
struct Table {
    std::mutex mMutex;
    std::array<Entry, 32> mEntries;
    std::uint64_t mClock = 0;
};

Table& Errors()
{
    static Table* const table = new Table();
    return *table;
}

}

void RecordLastError(GC_ERROR code, const std::string& text) noexcept
{
    Table& table = Errors();
    const std::lock_guard<std::mutex> guard(table.mMutex);
    const std::thread::id self = std::this_thread::get_id();
    Entry* slot = &table.mEntries[0];
    for (Entry& entry : table.mEntries) {
        if (entry.mThread == self) {
            slot = &entry;
            break;
        }
        if (entry.mAge < slot->mAge)
            slot = &entry;
    }
    slot->mThread = self;
    slot->mCode = code;
    slot->mAge = ++table.mClock;
    try {
        slot->mText = text;
    } catch (...) {
        slot->mText.clear();
    }
}

void ReadLastError(GC_ERROR& code, std::string& text)
{
    Table& table = Errors();
    const std::lock_guard<std::mutex> guard(table.mMutex);
    const std::thread::id self = std::this_thread::get_id();
    for (const Entry& entry : table.mEntries) {
        if (entry.mThread == self) {
            code = entry.mCode;
            text = entry.mText;
            return;
        }
    }
    code = GC_ERR_SUCCESS;
    text.clear();
}

}
