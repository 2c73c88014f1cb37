#include "app/window/VolumeWatcher.h"

#include "platform/volumes/VolumeTable.h"

#include <vector>

namespace {

constexpr size_t kMaskBits = 32;

std::set<std::string> MountPoints(const std::vector<nativevolumes::Volume>& volumes) {
    std::set<std::string> points;
    for (const nativevolumes::Volume& volume : volumes)
        points.insert(volume.mountPoint);
    return points;
}

} // namespace

VolumeWatcher::VolumeWatcher(Notify notify, std::chrono::milliseconds interval)
    : m_notify(std::move(notify)), m_interval(interval), m_thread([this] { Run(); }) {}

VolumeWatcher::~VolumeWatcher() {
    {
        std::lock_guard lock(m_lock);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void VolumeWatcher::Run() {
    std::set<std::string> known = MountPoints(nativevolumes::VolumeTable::Instance().List());
    std::unique_lock lock(m_lock);
    while (!m_wake.wait_for(lock, m_interval, [this] { return m_stop; })) {
        lock.unlock();
        Look(known);
        lock.lock();
    }
}

void VolumeWatcher::Look(std::set<std::string>& known) {
    const std::vector<nativevolumes::Volume> volumes = nativevolumes::VolumeTable::Instance().List();
    const std::set<std::string> now = MountPoints(volumes);
    uint32_t arrived = 0;
    for (size_t i = 0; i < volumes.size() && i < kMaskBits; ++i) {
        if (!known.contains(volumes[i].mountPoint))
            arrived |= uint32_t{1} << i;
    }
    bool removed = false;
    for (const std::string& point : known)
        removed = removed || !now.contains(point);
    known = now;
    if (arrived != 0 || removed)
        m_notify(arrived, removed);
}
