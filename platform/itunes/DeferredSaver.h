#pragma once
// Saves a library some time after it changed, on a thread of its own, so that a run of changes (a sync
// adding a thousand songs) writes the file a few times instead of a thousand times.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace itunesapp {

class DeferredSaver {
public:
    using Clock = std::chrono::steady_clock;

    // `save` runs once the changes have rested for `quietTime`, and at the latest `longestDelay` after
    // the first unsaved change; when it answers false it runs again `longestDelay` later.
    DeferredSaver(std::chrono::milliseconds quietTime, std::chrono::milliseconds longestDelay,
                  std::function<bool()> save);
    // Stops the thread without saving.
    ~DeferredSaver();
    DeferredSaver(const DeferredSaver&) = delete;
    DeferredSaver& operator=(const DeferredSaver&) = delete;

    // A change was made.
    void Touch();
    // The changes were saved some other way.
    void Clear();

private:
    void Run();

    const std::chrono::milliseconds m_quietTime;
    const std::chrono::milliseconds m_longestDelay;
    const std::function<bool()> m_save;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Clock::time_point> m_firstChange;
    Clock::time_point m_due;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace itunesapp
