#include "server/program/ControlThread.h"

ControlThread::ControlThread() : m_thread([this] { Loop(); }) {}

ControlThread::~ControlThread() {
    {
        std::lock_guard guard(m_lock);
        m_ending = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void ControlThread::Run(std::function<void()> step) {
    {
        std::lock_guard guard(m_lock);
        m_steps.push_back(std::move(step));
    }
    m_changed.notify_all();
}

void ControlThread::Drain() {
    std::unique_lock guard(m_lock);
    m_changed.wait(guard, [this] { return m_steps.empty() && !m_running; });
}

void ControlThread::Loop() {
    std::unique_lock guard(m_lock);
    for (;;) {
        m_changed.wait(guard, [this] { return m_ending || !m_steps.empty(); });
        if (m_steps.empty())
            return;
        std::function<void()> step = std::move(m_steps.front());
        m_steps.pop_front();
        m_running = true;
        guard.unlock();
        step();
        guard.lock();
        m_running = false;
        m_changed.notify_all();
    }
}
