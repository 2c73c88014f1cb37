#pragma once
// The scan of the local network for server programs: first the hosts of a given list, then every
// address of this computer's /24 but its own and those already found; each address that answers an
// echo gets a hello probe on a thread of its own (in the owner's slot table), on the probe port (the
// base port + 1) unless a listed host names its port. A server that answers is added to the owner's
// found-host table. Progress and the ends are told through the owner's callbacks. Every wait watches
// the owner's wake signal, so a stop ends the scan and its probes at once.

#include "platform/sockets/WakeSignal.h"
#include "remote/FoundHost.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class CASockets;

class NetworkScan {
public:
    // Whether the address answered an echo; returns early when `wake` is raised.
    using Pinger = std::function<bool(uint32_t address, const nativesockets::WakeSignal& wake)>;
    static constexpr int kFirstHost = 1;
    static constexpr int kLastHost = 254;
    static constexpr int kHelloTimeoutMs = 30000;

    NetworkScan(CASockets& owner, const nativesockets::WakeSignal& wake);
    NetworkScan(const NetworkScan&) = delete;
    NetworkScan& operator=(const NetworkScan&) = delete;
    ~NetworkScan();

    // 0 once the scan runs; -1 when one runs already or no thread can be had (the list is dropped).
    int Start(std::vector<FoundHost> firstTries);
    bool IsRunning() const { return m_running; }
    // The host number reached (1 to 254), 0 before the first.
    int Position() const { return m_position; }
    // Waits for the scan thread and every probe; the owner has raised its wake signal first.
    void Join();
    void SetPinger(Pinger pinger) { m_ping = std::move(pinger); }

    // One hello probe: 1 when a server answered and was added to the table.
    int ProbeHost(uint32_t address, uint16_t port);

private:
    void Run(const std::vector<FoundHost>& firstTries);
    void TryListedHost(const FoundHost& host);
    void ScanHost(int hostNumber);
    void StartProbe(uint32_t address, uint16_t port);
    void ProbeEnded();
    bool Stopping() const;

    CASockets& m_owner;
    const nativesockets::WakeSignal& m_wake;
    Pinger m_ping;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
    std::atomic<int> m_position{0};
    std::mutex m_probeLock;
    std::condition_variable m_probesEnded;
    int m_probes = 0;       // probes whose hello has not ended
    int m_probeThreads = 0; // probe threads that may still touch this object
};
