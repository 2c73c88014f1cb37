#pragma once
// The main program's socket client: the link's callbacks become the window's private messages. A
// window that is ending is told nothing more: it calls Shutdown (or SetWindow(nullptr)) before it goes.

#include "remote/CASockets.h"

#include <QObject>
#include <atomic>

class MainSockets : public CASockets {
public:
    MainSockets() = default;
    explicit MainSockets(std::optional<uint32_t> localIPv4) : CASockets(localIPv4) {}
    // The scan reports to this object: it ends before the object does.
    ~MainSockets() override { StopScan(); }

    void SetWindow(QObject* window) { m_window = window; }
    // From now on nothing is posted.
    void Shutdown() { m_shutdown = true; }

    void OnHostsChanged() override;
    void OnScanDone() override;

private:
    void PostToWindow(unsigned number);

    std::atomic<QObject*> m_window{nullptr};
    std::atomic<bool> m_shutdown{false};
};
