#pragma once
// A server on 127.0.0.2 serving the files of a fresh music folder, listening on a pair of ports found
// free at run time; and the ways the tests talk to it from 127.0.0.1.

#include "server/requests/ASyncWSocksServer.h"
#include "server/requests/MusicFolderPolicy.h"
#include "support/TempDir.h"

#include <memory>
#include <string>
#include <vector>

class LoopbackServer {
public:
    static constexpr uint32_t kServerAddress = 0x7F000002;
    static constexpr uint32_t kClientAddress = 0x7F000001;
    static constexpr char kServerText[] = "127.0.0.2";

    explicit LoopbackServer(const ServerTimeouts& timeouts = {},
                            size_t slotCapacity = ConnectionSlotTable::kDefaultCapacity);
    // A port drawn at random below the range the system hands out for outgoing connections.
    static uint16_t RandomPort();

    ASyncWSocksServer& Server() { return *m_server; }
    uint16_t Port() const { return m_server->GetBasePort(); }
    // A path inside the music folder, and the folder itself.
    std::string Music(const std::string& name) const { return m_music.File(name); }
    const std::string& MusicFolder() const { return m_music.Path(); }
    // Listens again on the same ports after a stop.
    void Restart();

    // A client link of 127.0.0.1 whose base port is the server's.
    std::unique_ptr<CASockets> Client() const;

private:
    TempDir m_music;
    std::shared_ptr<MusicFolderPolicy> m_policy;
    std::unique_ptr<ASyncWSocksServer> m_server;
};

// A bare TCP connection to a port of the server, for bytes no client of ours would send.
class RawConnection {
public:
    explicit RawConnection(uint16_t port);

    bool IsOpen() const { return m_socket.IsOpen(); }
    bool Send(const std::string& bytes);
    // Waits for the first bytes to arrive and takes one buffer of them.
    bool ReadSome();
    // Everything that arrives until the server closes the connection or `waitMs` pass; `closed` tells
    // which.
    std::string ReadUntilClosed(int waitMs, bool& closed);

private:
    nativesockets::SocketHandle m_socket;
};

// A whole message as our writer sends it.
std::string MessageBytes(int code, const std::vector<uint8_t>& payload);
