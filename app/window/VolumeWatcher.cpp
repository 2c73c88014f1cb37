#include "app/window/VolumeWatcher.h"

#include "platform/volumes/VolumeTable.h"

#include <poll.h>
#include <sys/stat.h>

namespace {

constexpr const char* kPodDatabase = "/iPod_Control/iTunes/iTunesDB";

bool HoldsPodDatabase(const std::string& mountPoint) {
    struct stat status {};
    return stat((mountPoint + kPodDatabase).c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

VolumeWatcher::VolumeWatcher(Notify notify, std::chrono::milliseconds interval)
    : m_notify(std::move(notify)), m_interval(interval), m_thread([this] { Run(); }) {}

VolumeWatcher::~VolumeWatcher() {
    m_stop.Raise();
    m_thread.join();
}

VolumeWatcher::Snapshot VolumeWatcher::Look() {
    Snapshot snapshot;
    for (const nativevolumes::Volume& volume : nativevolumes::VolumeTable::Instance().List()) {
        const bool pod = volume.driveBit != 0 && HoldsPodDatabase(volume.mountPoint);
        snapshot[volume.mountPoint] = pod ? volume.driveBit : 0;
    }
    return snapshot;
}

void VolumeWatcher::Run() {
    Snapshot known = Look();
    while (WaitForChange()) {
        Snapshot now = Look();
        Compare(known, now);
        known = std::move(now);
    }
}

bool VolumeWatcher::WaitForChange() {
    pollfd waits[] = {{m_stop.Fd(), POLLIN, 0}, {m_mountTable.Descriptor(), POLLPRI, 0}};
    poll(waits, 2, static_cast<int>(m_interval.count()));
    return !m_stop.IsRaised();
}

void VolumeWatcher::Compare(const Snapshot& before, const Snapshot& now) const {
    uint32_t arrived = 0;
    bool removed = false;
    for (const auto& [mountPoint, podBit] : now) {
        const auto known = before.find(mountPoint);
        if (podBit != 0 && (known == before.end() || known->second != podBit))
            arrived |= podBit;
    }
    for (const auto& [mountPoint, podBit] : before) {
        const auto still = now.find(mountPoint);
        removed = removed || still == now.end() || (podBit != 0 && still->second != podBit);
    }
    if (arrived != 0 || removed)
        m_notify(arrived, removed);
}
