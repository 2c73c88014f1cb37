#include "server/router/PortForwardChain.h"

#include "server/router/MappingLookup.h"
#include "server/router/PortForwardEvents.h"
#include "server/router/RouterTestReport.h"

namespace {

constexpr int64_t kFailureParameter = -1;
constexpr int64_t kGatewayFoundParameter = 0;

} // namespace

void PortForwardChain::StartPortMapping(const std::string& localIPv4, uint16_t port) {
    m_localIPv4 = localIPv4;
    m_port = port;
    if (m_engine)
        m_engine->StartDeviceSearch();
}

void PortForwardChain::TestRouter(const std::string& localIPv4, uint16_t port) {
    ClearAttempts();
    if (!m_engine || localIPv4.empty()) {
        GiveUp();
        return;
    }
    StartPortMapping(localIPv4, port);
}

void PortForwardChain::HandleEvent(int code, int64_t value) {
    if (!m_engine)
        return;
    switch (code) {
    case portforward::kSearchEnded:
        OnSearchEnded(value);
        break;
    case portforward::kRetrieveEnded:
        OnMappingsRetrieved();
        break;
    case portforward::kAddEnded:
        OnAddEnded(value);
        break;
    default:
        break;
    }
}

void PortForwardChain::OnSearchEnded(int64_t result) {
    if (result != portforward::kSucceeded) {
        GiveUp();
        return;
    }
    m_engine->StartRetrieveMappings();
    m_report.RouterTestFailed(kGatewayFoundParameter, kGatewayFoundParameter);
}

void PortForwardChain::OnMappingsRetrieved() {
    const std::vector<PortMapping> mappings = m_engine->GetMappings();
    const MappingLookupResult lookup = MappingLookup::Find(mappings, m_localIPv4, m_port);
    if (lookup.found) {
        m_state = RouterState{true, lookup.externalPort, lookup.externalAddress};
        m_report.RouterTestDone();
        return;
    }
    const int attempt = m_attempts++;
    m_state.externalAddress.clear();
    if (!m_serverOn || attempt >= kMaxAdditions || !lookup.proposedPort) {
        GiveUp();
        return;
    }
    AddPortMapping(*lookup.proposedPort);
}

void PortForwardChain::AddPortMapping(uint16_t externalPort) {
    m_requested = PortMapping{std::string(),       std::to_string(externalPort), std::to_string(m_port),
                              PortMapping::kTcp,   m_localIPv4,                  PortMapping::kYes,
                              kDescription};
    m_adding = m_engine->StartAddMapping(m_requested);
    m_dropAddition = false;
}

void PortForwardChain::OnAddEnded(int64_t result) {
    m_adding = false;
    if (result == portforward::kSucceeded)
        m_added = m_requested;
    // Switched off, or moved to another port, while the mapping was being added: it goes at once.
    if (m_dropAddition) {
        m_dropAddition = false;
        DeleteAdded();
        return;
    }
    m_engine->StartDeviceSearch();
}

void PortForwardChain::ApplySettings(bool portForwarding, bool serverOn, uint16_t port) {
    m_serverOn = serverOn;
    const auto kept = [&](const PortMapping& mapping) {
        return portForwarding && serverOn && PortMapping::ParsePort(mapping.internalPort) == port;
    };
    if (m_adding && !kept(m_requested))
        m_dropAddition = true;
    if (m_engine && m_added && !kept(*m_added))
        DeleteAdded();
}

void PortForwardChain::DeleteAdded() {
    if (m_added && m_engine->StartDeleteMapping(*m_added))
        m_added.reset();
}

void PortForwardChain::GiveUp() {
    m_report.RouterTestFailed(kFailureParameter, kFailureParameter);
}
