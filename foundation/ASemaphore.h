#pragma once
// The program's lock: a semaphore of count one that any thread may release, taken with a wait or with
// a try that never blocks (a second command is refused instead of queued). It does not nest.

#include <atomic>
#include <condition_variable>
#include <mutex>

class ASemaphore {
public:
    ASemaphore() = default;
    ASemaphore(const ASemaphore&) = delete;
    ASemaphore& operator=(const ASemaphore&) = delete;

    // Waits without a time limit; returns 0.
    int Lock();
    // 1 when taken, 0 when it was held already.
    int TryLock();
    // False when it was free already (it stays free).
    bool Unlock();
    // Informational: read as "busy" by the window's enabling rules.
    bool IsLocked() const { return m_locked.load(); }

private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_free = true;
    std::atomic<bool> m_locked{false};
};
