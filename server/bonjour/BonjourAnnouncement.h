#pragma once
// The server program's Bonjour announcement: the service type of the server programs registered under
// this computer's name with the port it listens on, until it is withdrawn. Without the DNS-SD library
// nothing is announced and nothing else changes.

#include "platform/dnssd/DnsSdLibrary.h"
#include "platform/dnssd/ServiceRegistration.h"

#include <cstdint>
#include <string>

class BonjourAnnouncement {
public:
    explicit BonjourAnnouncement(const std::string& libraryFile = nativednssd::DnsSdLibrary::kDefaultFile);

    // Announces the port (host order; it goes in network order), in place of an earlier announcement:
    // 0, or the library's error.
    int Announce(uint16_t port);
    void Withdraw() { m_registration.Withdraw(); }
    bool IsAnnounced() const { return m_registration.IsRegistered(); }

private:
    nativednssd::DnsSdLibrary m_library;
    nativednssd::ServiceRegistration m_registration;
};
