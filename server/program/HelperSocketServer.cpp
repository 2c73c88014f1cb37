#include "server/program/HelperSocketServer.h"

#include "server/requests/LibraryRequestHandlers.h"
#include "server/requests/ServedLibrary.h"

HelperSocketServer::HelperSocketServer(std::optional<uint32_t> localIPv4, Notice hostJoined,
                                       Notice sessionStarting)
    : ASyncWSocksServer(localIPv4, nullptr), m_hostJoined(std::move(hostJoined)),
      m_sessionStarting(std::move(sessionStarting)) {
    RegisterLibraryRequestHandlers(*this, std::make_shared<ServedLibrary>(), nullptr);
}

// The connections end before the notice's target goes.
HelperSocketServer::~HelperSocketServer() {
    StopListening();
}

void HelperSocketServer::OnHostsChanged() {
    if (m_hostJoined)
        m_hostJoined();
}

void HelperSocketServer::OnSessionStarting() {
    if (m_sessionStarting)
        m_sessionStarting();
}
