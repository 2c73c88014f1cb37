#pragma once
// 1004: the library's playlists, the library playlist first. One at a time: a second request while
// one runs is answered -1 with -8997.

#include "server/requests/RequestHandler.h"

#include <atomic>
#include <memory>

class ServedLibrary;

class GetRemotePlayListsHandler : public RequestHandler {
public:
    explicit GetRemotePlayListsHandler(std::shared_ptr<const ServedLibrary> library) : m_library(std::move(library)) {}

    WireMessage Serve(std::span<const uint8_t> payload) override;

private:
    std::shared_ptr<const ServedLibrary> m_library;
    std::atomic<bool> m_busy{false};
};
