#pragma once
// Watches the mounted volumes in place of the system's device notices, on a thread of its own: it
// looks at the volume table at once when the kernel tells of a mount or an unmount, and at each
// interval besides (the folders of ORVANTIS_EXTRA_VOLUMES come and go without a notice). It tells
// which removable volumes came to hold an iPod (as a mask of their bits: a volume that arrived, or
// whose iPod database appeared after its mount) and whether any volume or iPod database went away.
// The GUI thread never reads the table for it.

#include "platform/sockets/WakeSignal.h"
#include "platform/volumes/MountTableWatch.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <thread>

class VolumeWatcher {
public:
    static constexpr std::chrono::milliseconds kDefaultInterval{250};
    // Called on the watcher's thread: the bits of the volumes that came to hold an iPod (0: none), and
    // whether any volume or iPod database went away.
    using Notify = std::function<void(uint32_t arrivedMask, bool removed)>;

    VolumeWatcher(Notify notify, std::chrono::milliseconds interval = kDefaultInterval);
    ~VolumeWatcher();
    VolumeWatcher(const VolumeWatcher&) = delete;
    VolumeWatcher& operator=(const VolumeWatcher&) = delete;

private:
    // Each volume's mount point, and whether it is a removable volume holding an iPod: its bit, else 0.
    using Snapshot = std::map<std::string, uint32_t>;

    static Snapshot Look();
    void Run();
    // Waits for the kernel's notice, the interval or the end: false at the end.
    bool WaitForChange();
    void Compare(const Snapshot& before, const Snapshot& now) const;

    Notify m_notify;
    std::chrono::milliseconds m_interval;
    nativevolumes::MountTableWatch m_mountTable;
    nativesockets::WakeSignal m_stop;
    std::thread m_thread;
};
