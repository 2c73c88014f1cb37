#include "platform/itunes/Call.h"

#include "platform/itunes/SourceBackend.h"

namespace itunesapp {

Call::Call(const HandleCore& core) : m_core(core), m_lock(core.State().mutex) {}

Call::~Call() {
    m_lock.unlock();
    m_core.State().Deliver(changes);
}

Status Call::Check() const {
    return m_core.Generation() == m_core.State().Generation() ? Status::Ok : Status::Gone;
}

Status Call::Check(int32_t sourceID, SourceBackend*& source) const {
    if (const Status status = Check(); status != Status::Ok)
        return status;
    source = m_core.State().FindSource(sourceID);
    return source ? Status::Ok : Status::Failed;
}

} // namespace itunesapp
