#pragma once
// The port-forward engine and its chain against an IGD emulator, with the engine's notifications handed
// to the chain on the test's thread, as the server program's window will hand them on.

#include "server/router/CPortForwardEngine.h"
#include "server/router/PortForwardChain.h"
#include "server/router/PortForwardEvents.h"
#include "server/router/RouterTestReport.h"
#include "support/IgdEmulator.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>
#include <vector>

// Queues the engine's notifications.
class QueuedEvents : public PortForwardListener {
public:
    void OnPortForwardEvent(int code, int64_t value) override;
    // The next notification, or false when none came within `waitMs`.
    bool Next(std::pair<int, int64_t>& event, int waitMs);

private:
    std::mutex m_lock;
    std::condition_variable m_arrived;
    std::deque<std::pair<int, int64_t>> m_events;
};

// What the main program would have been told.
class RecordingReport : public RouterTestReport {
public:
    void RouterTestFailed(int64_t wParam, int64_t lParam) override { failures.emplace_back(wParam, lParam); }
    void RouterTestDone() override { ++done; }

    // The failures that end a test, (-1, -1); (0, 0) only tells that a gateway was found.
    int Failed() const;

    std::vector<std::pair<int64_t, int64_t>> failures;
    int done = 0;
};

class PortForwardRig {
public:
    static constexpr char kLocalAddress[] = "192.168.1.20";
    static constexpr uint16_t kPort = 10564;

    // The gateway of the emulator, or one at `descriptionUrl`.
    PortForwardRig();
    explicit PortForwardRig(const std::string& descriptionUrl);

    // Hands the notifications to the chain until the engine has had nothing to do for a while.
    void RunUntilQuiet();
    // The router test of the main program, run to its end.
    void TestRouter(uint16_t port = kPort);

    IgdEmulator igd;
    QueuedEvents events;
    RecordingReport report;
    CPortForwardEngine engine;
    PortForwardChain chain{&engine, report};
};
