#pragma once
// Watches the mounted volumes in place of the system's device notices: a thread of its own reads the
// volume table at each interval and tells which volumes arrived (as a mask of their bits) and
// whether any went away. The GUI thread never reads the table for it.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>

class VolumeWatcher {
public:
    static constexpr std::chrono::milliseconds kDefaultInterval{1000};
    // Called on the watcher's thread: the bits of the volumes that arrived (0: none), and whether
    // any volume went away.
    using Notify = std::function<void(uint32_t arrivedMask, bool removed)>;

    VolumeWatcher(Notify notify, std::chrono::milliseconds interval = kDefaultInterval);
    ~VolumeWatcher();
    VolumeWatcher(const VolumeWatcher&) = delete;
    VolumeWatcher& operator=(const VolumeWatcher&) = delete;

private:
    void Run();
    void Look(std::set<std::string>& known);

    Notify m_notify;
    std::chrono::milliseconds m_interval;
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};
