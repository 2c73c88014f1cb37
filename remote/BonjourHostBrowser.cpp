#include "remote/BonjourHostBrowser.h"

#include "platform/sockets/HostAddresses.h"
#include "remote/BonjourService.h"
#include "remote/CASockets.h"

BonjourHostBrowser::BonjourHostBrowser(CASockets& sockets, const std::string& libraryFile,
                                       BonjourInstanceName::Resolver resolve)
    : m_sockets(sockets), m_resolve(resolve ? std::move(resolve) : nativesockets::ResolveIPv4),
      m_library(libraryFile), m_browser(m_library, [this](const nativednssd::BrowseEvent& event) {
          OnBrowseEvent(event);
      }) {}

bool BonjourHostBrowser::Start() {
    if (!m_library.IsLoaded())
        return false;
    m_browser.Start(bonjour::kServiceType);
    return true;
}

void BonjourHostBrowser::OnBrowseEvent(const nativednssd::BrowseEvent& event) {
    if (!event.IsArrival())
        return;
    if (const auto host = BonjourInstanceName::ToHost(event.name, m_resolve))
        m_sockets.AddFoundHost(*host);
}
