#include "RecordingSockets.h"

void RecordingSockets::OnScanProgress(int hostNumber) {
    std::lock_guard lock(m_lock);
    m_progress.push_back(hostNumber);
}

void RecordingSockets::OnScanDone() {
    std::lock_guard lock(m_lock);
    ++m_scansDone;
    m_changed.notify_all();
}

void RecordingSockets::OnProbesDone() {
    std::lock_guard lock(m_lock);
    ++m_probesDone;
    m_changed.notify_all();
}

void RecordingSockets::OnHostsChanged() {
    std::lock_guard lock(m_lock);
    ++m_hostsChanged;
}

bool RecordingSockets::WaitForScanAndProbes(std::chrono::milliseconds limit) {
    std::unique_lock lock(m_lock);
    return m_changed.wait_for(lock, limit, [this] { return m_scansDone > 0; }) &&
           m_changed.wait_for(lock, limit, [this] { return Slots().RunningCount() == 0 || m_probesDone > 0; });
}

std::vector<int> RecordingSockets::Progress() const {
    std::lock_guard lock(m_lock);
    return m_progress;
}

int RecordingSockets::HostsChanged() const {
    std::lock_guard lock(m_lock);
    return m_hostsChanged;
}

int RecordingSockets::ScansDone() const {
    std::lock_guard lock(m_lock);
    return m_scansDone;
}
