#pragma once
// 1004: the library's playlists, the library playlist first. One at a time: a second request while
// one runs is answered -1 with -8997.

#include "server/requests/RequestHandler.h"

#include "remote/RemotePlayLists.h"

#include <atomic>
#include <memory>
#include <vector>

class AProgress;
class ITunes;
class ServedLibrary;

class GetRemotePlayListsHandler : public RequestHandler {
public:
    // `progress` (may be null) shows the request's steps.
    GetRemotePlayListsHandler(std::shared_ptr<const ServedLibrary> library, AProgress* progress)
        : m_library(std::move(library)), m_progress(progress) {}

    WireMessage Serve(std::span<const uint8_t> payload) override;

private:
    std::vector<RemotePlayList> ReadPlayLists(ITunes& client) const;

    std::shared_ptr<const ServedLibrary> m_library;
    AProgress* m_progress;
    std::atomic<bool> m_busy{false};
};
