#include "platform/itunes/DeferredSaver.h"

#include <algorithm>

namespace itunesapp {

DeferredSaver::DeferredSaver(std::chrono::milliseconds quietTime, std::chrono::milliseconds longestDelay,
                             std::function<bool()> save)
    : m_quietTime(quietTime), m_longestDelay(longestDelay), m_save(std::move(save)) {}

DeferredSaver::~DeferredSaver() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void DeferredSaver::Touch() {
    std::lock_guard lock(m_mutex);
    const Clock::time_point now = Clock::now();
    if (!m_firstChange)
        m_firstChange = now;
    m_due = std::min(now + m_quietTime, *m_firstChange + m_longestDelay);
    if (!m_thread.joinable())
        m_thread = std::thread(&DeferredSaver::Run, this);
    m_wake.notify_all();
}

void DeferredSaver::Clear() {
    std::lock_guard lock(m_mutex);
    m_firstChange.reset();
}

void DeferredSaver::Run() {
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (!m_firstChange) {
            m_wake.wait(lock);
            continue;
        }
        if (Clock::now() < m_due) {
            m_wake.wait_until(lock, m_due);
            continue;
        }
        m_firstChange.reset();
        lock.unlock();
        const bool saved = m_save();
        lock.lock();
        if (!saved && !m_firstChange) {
            m_firstChange = Clock::now();
            m_due = *m_firstChange + m_longestDelay;
        }
    }
}

} // namespace itunesapp
