#pragma once
// A source of the application: the library (kind Library) or a mounted iPod (kind IPod).

#include "platform/itunes/HandleCore.h"
#include "platform/itunes/ITunesTypes.h"

#include <memory>
#include <string>

namespace itunesapp {

class PlaylistCollection;

class Source {
public:
    Source(HandleCore core, int32_t sourceID) : m_core(std::move(core)), m_sourceID(sourceID) {}

    Status GetKind(SourceKind& kind) const;
    // The library's is "Library"; an iPod's is the name of its main playlist.
    Status GetName(std::u16string& name) const;
    Status GetSourceID(int32_t& sourceID) const;
    // Its library playlist first, then the user playlists in the order the source keeps them.
    Status GetPlaylists(std::shared_ptr<PlaylistCollection>& playlists) const;

private:
    friend class Application;

    // Runs `read` on the source within one call; Failed when it is gone (an unmounted iPod).
    template <class Reader> Status Read(const Reader& read) const;

    HandleCore m_core;
    int32_t m_sourceID;
};

} // namespace itunesapp
