// The handles of one kind the producer has given out, each to a shared
// record: a call takes its record out under the producer's lock and works
// on it after the lock is released, so one camera's slow request never
// holds up another's. Handle values are never reused, so a stale handle
// stays invalid.
#pragma once

#include <map>
#include <memory>
#include <vector>

namespace Gige {

// The next handle value: never null, never repeated.
void* NewHandleValue();

template <class Record>
class HandleTable {
public:
    void* Add(std::shared_ptr<Record> record)
    {
        void* handle = NewHandleValue();
        mRecords.emplace(handle, std::move(record));
        return handle;
    }

    // Null for a handle this table did not give out or has taken back.
    std::shared_ptr<Record> Find(void* handle) const
    {
        const auto found = mRecords.find(handle);
        return found == mRecords.end() ? nullptr : found->second;
    }

    // The record, which leaves the table; null when there is none.
    std::shared_ptr<Record> Take(void* handle)
    {
        const auto found = mRecords.find(handle);
        if (found == mRecords.end())
            return nullptr;
        std::shared_ptr<Record> record = std::move(found->second);
        mRecords.erase(found);
        return record;
    }

    // The handles whose record satisfies the predicate.
    template <class Predicate>
    std::vector<void*> Select(Predicate predicate) const
    {
        std::vector<void*> handles;
        for (const auto& entry : mRecords)
            if (predicate(*entry.second))
                handles.push_back(entry.first);
        return handles;
    }

private:
    std::map<void*, std::shared_ptr<Record>> mRecords;
};

}
