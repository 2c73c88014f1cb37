#include "foundation/ASemaphore.h"

int ASemaphore::Lock() {
    std::unique_lock lock(m_mutex);
    m_released.wait(lock, [this] { return m_free; });
    m_free = false;
    m_locked = true;
    return 0;
}

int ASemaphore::TryLock() {
    std::lock_guard lock(m_mutex);
    if (!m_free)
        return 0;
    m_free = false;
    m_locked = true;
    return 1;
}

bool ASemaphore::Unlock() {
    {
        std::lock_guard lock(m_mutex);
        m_locked = false;
        if (m_free)
            return false;
        m_free = true;
    }
    m_released.notify_one();
    return true;
}
