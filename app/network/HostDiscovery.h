#pragma once
// How the main window finds server programs: the scan of its own /24 (the hosts it already knows
// tried first) and Bonjour browsing, both started with the window and stopped at its end. What they
// find enters the socket client's found-host table, whose callbacks become the window's messages.

#include "remote/FoundHost.h"

#include <memory>
#include <string>
#include <vector>

class BonjourHostBrowser;
class CASockets;

class HostDiscovery {
public:
    // `dnssdLibrary` names the DNS-SD library to load (empty: Avahi's).
    HostDiscovery(CASockets& sockets, std::string dnssdLibrary);
    ~HostDiscovery();
    HostDiscovery(const HostDiscovery&) = delete;
    HostDiscovery& operator=(const HostDiscovery&) = delete;

    void Start(std::vector<FoundHost> knownHosts);
    // Ends the browse and the scan with its probes, at once; the socket client makes no new
    // connection afterwards, so this belongs to the window's end.
    void Stop();
    // Whether the DNS-SD library loaded.
    bool HasBonjour() const { return m_bonjourLoaded; }

private:
    CASockets& m_sockets;
    std::string m_dnssdLibrary;
    std::unique_ptr<BonjourHostBrowser> m_browser;
    bool m_bonjourLoaded = false;
};
