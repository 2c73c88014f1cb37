#pragma once
// A link that hands each request straight to a server's dispatcher in this process, as the listening
// side would after reading it: the client and the handlers meet without sockets.

#include "foundation/RemotePeer.h"

class ASyncWSocksServer;

class DispatcherPeer : public RemotePeer {
public:
    explicit DispatcherPeer(ASyncWSocksServer& server) : m_server(server) {}

    int ConnectW(const AString&) override { return 0; }
    int Request(int code, const uint8_t* payload, uint32_t length, std::vector<uint8_t>& answer, bool,
                AProgress*, int, int, const CancelCallback&) override;
    void Disconnect() override {}

    int requests = 0;

private:
    ASyncWSocksServer& m_server;
};
