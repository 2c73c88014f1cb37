#pragma once
// A playlist of a source. The first playlist of a source is its library playlist: it answers as the
// library playlist only, holds every track of the source once, takes new song files and cannot be
// renamed or deleted. Every other playlist is a user playlist.

#include "platform/itunes/HandleCore.h"
#include "platform/itunes/ITunesTypes.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace itunesapp {

class OperationStatus;
class SourceBackend;
class Track;
class TrackCollection;
struct PlaylistRecord;

class Playlist {
public:
    Playlist(HandleCore core, int32_t sourceID, int32_t playlistID)
        : m_core(std::move(core)), m_sourceID(sourceID), m_playlistID(playlistID) {}

    Status GetKind(PlaylistKind& kind) const;
    Status GetName(std::u16string& name) const;
    Status SetName(const std::u16string& name) const;
    Status GetPlaylistID(int32_t& playlistID) const;
    Status GetSourceID(int32_t& sourceID) const;
    Status GetTracks(std::shared_ptr<TrackCollection>& tracks) const;
    // A user playlist only; its tracks stay in the library.
    Status Delete() const;

    // User playlists.
    Status GetSpecialKind(SpecialKind& kind) const;
    Status GetSmart(bool& smart) const;
    // Appends a track of the same source; `added` is its new occurrence here. Smart playlists and
    // folders take no tracks by hand.
    Status AddTrack(const Track& track, std::shared_ptr<Track>& added) const;

    // The library playlist. The operation is complete when the call returns; a file that the source
    // holds already, or that is no song, gives no track.
    Status AddFile(const std::string& path, std::shared_ptr<OperationStatus>& status) const;
    Status AddFiles(const std::vector<std::string>& paths, std::shared_ptr<OperationStatus>& status) const;

private:
    // Runs `use` on the playlist's source and record within one call; `kind`, when given, admits only
    // that kind of playlist.
    template <class Use> Status With(std::optional<PlaylistKind> kind, const Use& use) const;

    HandleCore m_core;
    int32_t m_sourceID;
    int32_t m_playlistID;
};

} // namespace itunesapp
