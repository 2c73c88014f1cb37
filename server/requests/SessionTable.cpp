#include "server/requests/SessionTable.h"

#include "server/requests/RemoteSession.h"

#include <random>
#include <vector>

using Clock = std::chrono::steady_clock;

SessionTable::Lease::Lease(Lease&& other) noexcept
    : m_table(other.m_table), m_id(other.m_id), m_session(other.m_session), m_busy(other.m_busy) {
    other.m_session = nullptr;
}

SessionTable::Lease::~Lease() {
    if (m_session)
        m_table->EndUse(m_id);
}

SessionTable::SessionTable(size_t capacity, std::chrono::milliseconds idleLimit)
    : m_capacity(capacity), m_idleLimit(idleLimit) {}

SessionTable::~SessionTable() = default;

// Random, so that no client can guess another's session from its own.
uint32_t SessionTable::NewIDLocked() const {
    std::random_device random;
    for (;;) {
        const uint32_t id = random();
        if (id != 0 && m_entries.count(id) == 0)
            return id;
    }
}

std::vector<std::unique_ptr<RemoteSession>> SessionTable::TakeExpiredLocked() {
    std::vector<std::unique_ptr<RemoteSession>> expired;
    const auto now = Clock::now();
    for (auto entry = m_entries.begin(); entry != m_entries.end();) {
        if (entry->second.state == State::Idle && now - entry->second.lastUse > m_idleLimit) {
            expired.push_back(std::move(entry->second.session));
            entry = m_entries.erase(entry);
        } else {
            ++entry;
        }
    }
    return expired;
}

uint32_t SessionTable::Add(std::unique_ptr<RemoteSession> session) {
    std::vector<std::unique_ptr<RemoteSession>> expired;
    std::lock_guard lock(m_lock);
    expired = TakeExpiredLocked();
    if (m_entries.size() >= m_capacity)
        return 0;
    const uint32_t id = NewIDLocked();
    m_entries.emplace(id, Entry{std::move(session), State::Idle, Clock::now()});
    return id;
}

SessionTable::Lease SessionTable::Acquire(uint32_t id) {
    std::lock_guard lock(m_lock);
    const auto found = m_entries.find(id);
    if (found == m_entries.end())
        return Lease();
    if (found->second.state != State::Idle)
        return Lease::OfBusySession();
    found->second.state = State::InUse;
    return Lease(*this, id, *found->second.session);
}

bool SessionTable::Has(uint32_t id) {
    std::lock_guard lock(m_lock);
    return m_entries.count(id) > 0;
}

void SessionTable::Release(uint32_t id) {
    std::unique_ptr<RemoteSession> ended;
    std::lock_guard lock(m_lock);
    const auto found = m_entries.find(id);
    if (found == m_entries.end())
        return;
    if (found->second.state != State::Idle) {
        found->second.state = State::EndRequested;
        return;
    }
    ended = std::move(found->second.session);
    m_entries.erase(found);
}

void SessionTable::EndUse(uint32_t id) {
    std::unique_ptr<RemoteSession> ended;
    std::lock_guard lock(m_lock);
    const auto found = m_entries.find(id);
    if (found == m_entries.end())
        return;
    if (found->second.state == State::EndRequested) {
        ended = std::move(found->second.session);
        m_entries.erase(found);
        return;
    }
    found->second.state = State::Idle;
    found->second.lastUse = Clock::now();
}

size_t SessionTable::Count() {
    std::lock_guard lock(m_lock);
    return m_entries.size();
}
