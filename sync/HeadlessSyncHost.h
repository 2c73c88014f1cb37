#pragma once
// A sync host without a window: the cancel request is a flag that anyone may raise.

#include "sync/SyncHost.h"

#include <atomic>

class HeadlessSyncHost : public SyncHost {
public:
    static HeadlessSyncHost& Default();

    int IsCancelRequested() override { return m_cancelRequested.load() ? 1 : 0; }
    void SetListThreadRunning(bool running) override;

    void RequestCancel() { m_cancelRequested.store(true); }
    bool IsListThreadRunning() const { return m_listThreadRunning.load(); }
    int GetListThreadStarts() const { return m_listThreadStarts.load(); }

private:
    std::atomic<bool> m_cancelRequested{false};
    std::atomic<bool> m_listThreadRunning{false};
    std::atomic<int> m_listThreadStarts{0};
};
