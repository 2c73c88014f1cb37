#pragma once
// The live sessions of the server's clients, each under a random id. A session is used by one request
// at a time, through a lease that gives it back on every way out of the handler; "End Session" takes an
// idle session away at once and one in use when its lease ends. The table holds a limited number, and
// a session left idle too long goes to make room.

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

struct RemoteSession;

class SessionTable {
public:
    static constexpr size_t kDefaultCapacity = 64;
    static constexpr std::chrono::milliseconds kDefaultIdleLimit = std::chrono::hours(2);

    // The session of one request, until the lease ends.
    class Lease {
    public:
        Lease() = default;
        Lease(SessionTable& table, uint32_t id, RemoteSession& session) : m_table(&table), m_id(id), m_session(&session) {}
        // An empty lease of a session that another request uses.
        static Lease OfBusySession() {
            Lease lease;
            lease.m_busy = true;
            return lease;
        }
        Lease(Lease&& other) noexcept;
        Lease& operator=(Lease&&) = delete;
        ~Lease();

        explicit operator bool() const { return m_session != nullptr; }
        // An empty lease: whether the session is there but in use.
        bool Busy() const { return m_busy; }
        RemoteSession& operator*() const { return *m_session; }
        RemoteSession* operator->() const { return m_session; }

    private:
        SessionTable* m_table = nullptr;
        uint32_t m_id = 0;
        RemoteSession* m_session = nullptr;
        bool m_busy = false;
    };

    explicit SessionTable(size_t capacity = kDefaultCapacity,
                          std::chrono::milliseconds idleLimit = kDefaultIdleLimit);
    SessionTable(const SessionTable&) = delete;
    SessionTable& operator=(const SessionTable&) = delete;
    ~SessionTable();

    // The new session's id (never 0), or 0 when the table is full of sessions that are not idle long.
    uint32_t Add(std::unique_ptr<RemoteSession> session);
    // An empty lease when no session has the id, or a busy one when another request uses it.
    Lease Acquire(uint32_t id);
    bool Has(uint32_t id);
    // "End Session".
    void Release(uint32_t id);
    size_t Count();

private:
    enum class State { Idle, InUse, EndRequested };
    struct Entry {
        std::unique_ptr<RemoteSession> session;
        State state = State::Idle;
        std::chrono::steady_clock::time_point lastUse;
    };

    // Called when a lease ends.
    void EndUse(uint32_t id);
    // Takes the sessions idle past the limit out of the table, for the caller to let go outside the lock.
    std::vector<std::unique_ptr<RemoteSession>> TakeExpiredLocked();
    uint32_t NewIDLocked() const;

    size_t m_capacity;
    std::chrono::milliseconds m_idleLimit;
    std::mutex m_lock;
    std::unordered_map<uint32_t, Entry> m_entries;
};
