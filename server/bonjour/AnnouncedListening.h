#pragma once
// Listening together with its announcement: the server program is announced while it listens, on the
// port it listens on, and the announcement goes before listening stops. Start and stop it from one
// thread (they wait for the listening threads).

#include <cstdint>

class ASyncWSocksServer;
class BonjourAnnouncement;

class AnnouncedListening {
public:
    AnnouncedListening(ASyncWSocksServer& server, BonjourAnnouncement& announcement)
        : m_server(server), m_announcement(announcement) {}

    // Listens on `port` and its probe port and announces it: false when listening ran already.
    bool Start(uint16_t port);
    void Stop();
    // The tray menu's "Start Server" / "Stop Server".
    void Toggle(uint16_t port);
    bool IsListening() const;

private:
    ASyncWSocksServer& m_server;
    BonjourAnnouncement& m_announcement;
};
