#pragma once
// Bonjour browsing for server programs (bonjour::kServiceType): every instance that is announced without an
// error becomes a found host of the socket object (BonjourInstanceName says where it is). Instances that
// go are left in the table, as hosts found by the scan are. Browsing runs on its own thread from Start
// until Stop, or until the library reports an error; the object must go before the socket object.

#include "platform/dnssd/DnsSdLibrary.h"
#include "platform/dnssd/ServiceBrowser.h"
#include "remote/BonjourInstanceName.h"

#include <string>

class CASockets;

class BonjourHostBrowser {
public:
    // `libraryFile` names the DNS-SD library; `resolve` is the name service (the system's unless given).
    explicit BonjourHostBrowser(CASockets& sockets,
                                const std::string& libraryFile = nativednssd::DnsSdLibrary::kDefaultFile,
                                BonjourInstanceName::Resolver resolve = {});
    ~BonjourHostBrowser() { Stop(); }

    // Whether the library loaded (browsing may still have failed to start).
    bool Start();
    void Stop() { m_browser.Stop(); }
    bool IsBrowsing() const { return m_browser.IsRunning(); }

    // One reply of the browse, as the library hands it on.
    void OnBrowseEvent(const nativednssd::BrowseEvent& event);

private:
    CASockets& m_sockets;
    BonjourInstanceName::Resolver m_resolve;
    nativednssd::DnsSdLibrary m_library;
    nativednssd::ServiceBrowser m_browser;
};
