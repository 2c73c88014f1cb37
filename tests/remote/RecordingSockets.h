#pragma once
// A socket object that records what its scan reports, for the test thread to wait on.

#include "remote/CASockets.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

class RecordingSockets : public CASockets {
public:
    explicit RecordingSockets(uint32_t localIPv4) : CASockets(localIPv4) {}
    ~RecordingSockets() override { StopScan(); }

    void OnScanProgress(int hostNumber) override;
    void OnScanDone() override;
    void OnProbesDone() override;
    void OnHostsChanged() override;

    // Whether the scan and its last probe ended in time.
    bool WaitForScanAndProbes(std::chrono::milliseconds limit);
    std::vector<int> Progress() const;
    int HostsChanged() const;
    int ScansDone() const;

private:
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<int> m_progress;
    int m_scansDone = 0;
    int m_probesDone = 0;
    int m_hostsChanged = 0;
};
