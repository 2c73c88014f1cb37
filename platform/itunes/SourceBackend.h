#pragma once
// One source of the application (the library, or a mounted iPod) with the content it shows and the
// store that keeps it: the library file or the iPod's database. The changes every source shares are
// made here on the model; each store makes them last in its own way. Every call is made with the
// instance's mutex held.

#include "platform/itunes/ChangeSet.h"
#include "platform/itunes/ITunesTypes.h"
#include "platform/itunes/MediaModel.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace itunesapp {

class TagReader;

class SourceBackend {
public:
    SourceBackend(int32_t sourceID, SourceKind kind, std::shared_ptr<TagReader> tagReader);
    virtual ~SourceBackend() = default;
    SourceBackend(const SourceBackend&) = delete;
    SourceBackend& operator=(const SourceBackend&) = delete;

    int32_t SourceID() const { return m_sourceID; }
    SourceKind Kind() const { return m_kind; }
    virtual std::string Name() const = 0;
    const MediaModel& Model() const { return m_model; }
    // Changes whenever a track record may have moved in memory (a track deleted, the content read
    // again); no two sources of the process ever have the same.
    uint64_t Epoch() const { return m_epoch; }
    TagReader* Tags() const { return m_tagReader.get(); }

    // Reads the content again when something else changed its store since.
    virtual void Refresh(ChangeSet& changes) = 0;

    // Adds the song files that the source does not hold yet; `added` gets the new tracks' ids. A file
    // that is held already, or is no song, adds nothing.
    virtual Status AddFiles(const std::vector<std::string>& paths, std::vector<int32_t>& added,
                            ChangeSet& changes) = 0;
    // Removes the track from the source and every playlist.
    Status DeleteTrack(int32_t trackID, ChangeSet& changes);
    // `edit` answers false for a value the track cannot take.
    Status EditTrack(int32_t trackID, const std::function<bool(TrackRecord&)>& edit, ChangeSet& changes);
    Status CreatePlaylist(const std::string& name, int32_t& playlistID, ChangeSet& changes);
    Status RenamePlaylist(int32_t playlistID, const std::string& name, ChangeSet& changes);
    Status DeletePlaylist(int32_t playlistID, ChangeSet& changes);
    // Only user playlists whose songs are not computed take or give up songs this way.
    Status AppendItem(int32_t playlistID, int32_t trackID, uint64_t& serial, ChangeSet& changes);
    Status RemoveItem(int32_t playlistID, int32_t trackID, uint64_t serial, ChangeSet& changes);

protected:
    struct Edit {
        enum class Kind {
            TrackFields,
            TrackDeleted,
            PlaylistItems,
            PlaylistCreated,
            PlaylistRenamed,
            PlaylistDeleted
        };
        Edit(Kind made, int32_t of, uint64_t persistent = 0, std::string file = {})
            : kind(made), id(of), persistentID(persistent), location(std::move(file)) {}

        Kind kind;
        int32_t id = 0;            // the track or playlist; a store may give a created playlist another
        uint64_t persistentID = 0; // of a deleted playlist
        std::string location;      // of a deleted track
    };

    // Runs `make` between BeginChange and EndChange.
    Status Change(ChangeSet& changes, const std::function<Status()>& make);
    // Before a change: Failed when the source may not change now.
    virtual Status BeginChange(ChangeSet& changes) = 0;
    // After the model took the change: makes it last, or answers Failed and shows the store as it is.
    virtual Status CommitChange(Edit& edit) = 0;
    // After every change, made or not.
    virtual void EndChange() {}

    // Puts content read again in place, with the changes an event reports.
    void ReplaceModel(MediaModel fresh, ChangeSet& changes);
    static uint64_t NewEpoch();
    // A new track record (without an id) of a song file; false when the file is no song.
    bool ReadSongFile(const std::string& path, TrackRecord& track) const;
    // A user playlist whose songs may be added and removed by hand.
    PlaylistRecord* EditablePlaylist(int32_t playlistID);

    MediaModel m_model;
    uint64_t m_epoch = NewEpoch();

private:
    const int32_t m_sourceID;
    const SourceKind m_kind;
    const std::shared_ptr<TagReader> m_tagReader;
};

} // namespace itunesapp
