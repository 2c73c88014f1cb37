#pragma once
// One call on an object of the application: it holds the instance's lock, collects the changes it
// makes, and tells the subscribers about them once the lock is released.

#include "platform/itunes/ChangeSet.h"
#include "platform/itunes/HandleCore.h"
#include "platform/itunes/InstanceState.h"

#include <mutex>

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

} // namespace itunesapp
