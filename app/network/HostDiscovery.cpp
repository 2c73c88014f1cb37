#include "app/network/HostDiscovery.h"

#include "platform/dnssd/DnsSdLibrary.h"
#include "remote/BonjourHostBrowser.h"
#include "remote/CASockets.h"

HostDiscovery::HostDiscovery(CASockets& sockets, std::string dnssdLibrary)
    : m_sockets(sockets),
      m_dnssdLibrary(dnssdLibrary.empty() ? std::string(nativednssd::DnsSdLibrary::kDefaultFile) : std::move(dnssdLibrary)) {}

HostDiscovery::~HostDiscovery() {
    Stop();
}

void HostDiscovery::Start(std::vector<FoundHost> knownHosts) {
    m_sockets.StartScan(std::move(knownHosts));
    if (m_browser)
        return;
    m_browser = std::make_unique<BonjourHostBrowser>(m_sockets, m_dnssdLibrary);
    m_bonjourLoaded = m_browser->Start();
}

void HostDiscovery::Stop() {
    if (m_browser)
        m_browser->Stop();
    m_sockets.StopScan();
}
