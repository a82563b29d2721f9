// The handles of one kind the producer has given out. Handle values come
// from one counter and are never reused, so a stale handle stays invalid
// even after its record is gone.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace Tli {

// The next handle value: never null, never repeated.
void* NewHandleValue();

template <class Record>
class HandleTable {
public:
    void* Add(Record record)
    {
        void* handle = NewHandleValue();
        mRecords.emplace(handle, std::move(record));
        return handle;
    }

    // Null for a handle this table did not give out or has taken back.
    Record* Find(void* handle)
    {
        const auto found = mRecords.find(handle);
        return found == mRecords.end() ? nullptr : &found->second;
    }

    void Remove(void* handle) { mRecords.erase(handle); }
    void Clear() { mRecords.clear(); }

    // The handles whose record satisfies the predicate.
    template <class Predicate>
    std::vector<void*> Select(Predicate predicate) const
    {
        std::vector<void*> handles;
        for (const auto& entry : mRecords)
            if (predicate(entry.second))
                handles.push_back(entry.first);
        return handles;
    }

private:
    std::map<void*, Record> mRecords;
};

}
