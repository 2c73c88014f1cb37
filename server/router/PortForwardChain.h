#pragma once
// The server program's side of the port-forward engine: it chains the engine's operations into a pass
// (the gateway search, the router's mappings, this computer's mapping looked up, and when it is missing
// one added and the pass begun again, at most kMaxAdditions times), keeps what it found, and tells the
// main program how the router test went. Every pass ends in a report: a found mapping, or a failure
// when there is no engine, no gateway, no free port or the additions ran out. A mapping that this
// program added is deleted again when the server or port forwarding is switched off or the port
// changes (also one whose addition was under way then), and while the server is off a pass adds none.
// Use it on one thread; the engine's notifications are handed to it there, in their order.

#include "server/router/CPortForwardEngine.h"
#include "server/router/RouterState.h"

#include <cstdint>
#include <optional>
#include <string>

class RouterTestReport;

class PortForwardChain {
public:
    static constexpr int kMaxAdditions = 9;
    static constexpr char kDescription[] = "Orvantis";

    // `engine` may be null: there is no port forwarding, and every router test fails.
    PortForwardChain(CPortForwardEngine* engine, RouterTestReport& report) : m_engine(engine), m_report(report) {}

    // Begins a pass for this computer's address (dotted text) and listening port.
    void StartPortMapping(const std::string& localIPv4, uint16_t port);
    // The router test asked for by the main program: the additions are counted afresh.
    void TestRouter(const std::string& localIPv4, uint16_t port);
    void ClearAttempts() { m_attempts = 0; }
    // One notification of the engine.
    void HandleEvent(int code, int64_t value);
    // The server settings as they now are.
    void ApplySettings(bool portForwarding, bool serverOn, uint16_t port);

    const RouterState& State() const { return m_state; }

private:
    void OnSearchEnded(int64_t result);
    void OnMappingsRetrieved();
    void OnAddEnded(int64_t result);
    void AddPortMapping(uint16_t externalPort);
    void DeleteAdded();
    void GiveUp();

    CPortForwardEngine* m_engine;
    RouterTestReport& m_report;
    std::string m_localIPv4;
    uint16_t m_port = 0;
    int m_attempts = 0;
    bool m_serverOn = true;
    bool m_adding = false;       // an addition is under way
    bool m_dropAddition = false; // and what it adds is to go again at once
    RouterState m_state;
    PortMapping m_requested;            // the mapping of the last addition asked for
    std::optional<PortMapping> m_added; // the mapping this program added, until it is deleted
};
