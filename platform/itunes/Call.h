#pragma once
// One call on an object of the application: it holds the instance's lock, collects the changes it
// makes, and tells the subscribers about them once the lock is released.

#include "platform/itunes/ChangeSet.h"
#include "platform/itunes/HandleCore.h"
#include "platform/itunes/InstanceState.h"

#include <memory>
#include <mutex>
#include <vector>

namespace itunesapp {

class SourceBackend;

class Call {
public:
    explicit Call(const HandleCore& core);
    ~Call();
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

    // Ok while the application that made the object runs; Gone once it quit.
    Status Check() const;
    // The same, and the source with the id: Failed when it is gone (an unmounted iPod).
    Status Check(int32_t sourceID, SourceBackend*& source) const;

    ChangeSet changes;

private:
    const HandleCore& m_core;
    std::unique_lock<std::mutex> m_lock;
};

// The size of a collection's entries, while the application runs.
inline Status CountEntries(const HandleCore& core, size_t size, int32_t& count) {
    Call call(core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    count = static_cast<int32_t>(size);
    return Status::Ok;
}

// The object that `make` makes of entry `index` (counted from 1), while the application runs.
template <class Entry, class Item, class Make>
Status EntryAt(const HandleCore& core, const std::vector<Entry>& entries, int32_t index,
               std::shared_ptr<Item>& item, Make make) {
    Call call(core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    if (index < 1 || static_cast<size_t>(index) > entries.size())
        return Status::Failed;
    item = make(entries[static_cast<size_t>(index) - 1]);
    return Status::Ok;
}

} // namespace itunesapp
