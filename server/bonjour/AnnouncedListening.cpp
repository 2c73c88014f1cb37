#include "server/bonjour/AnnouncedListening.h"

#include "server/bonjour/BonjourAnnouncement.h"
#include "server/requests/ASyncWSocksServer.h"

bool AnnouncedListening::Start(uint16_t port) {
    if (m_server.IsListening())
        return false;
    m_server.SetBasePort(port);
    if (!m_server.StartListening())
        return false;
    m_announcement.Announce(port);
    return true;
}

void AnnouncedListening::Stop() {
    m_announcement.Withdraw();
    m_server.StopListening();
}

void AnnouncedListening::Toggle(uint16_t port) {
    if (IsListening())
        Stop();
    else
        Start(port);
}

bool AnnouncedListening::IsListening() const {
    return m_server.IsListening();
}
