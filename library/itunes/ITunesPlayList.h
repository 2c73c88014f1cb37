#pragma once
// The record of one playlist of an iTunes library or of an iPod seen through iTunes: its name, id and
// kind, the song records of its tracks in playlist order, and its saved form, which travels in saved
// song lists and over the remote link. It points at songs that an index owns; a song that loses its
// last binding here is freed by that index.

#include "foundation/AString.h"
#include "library/entries/EntryText.h"
#include "library/itunes/ITunesBindingOwner.h"
#include "library/itunes/ITunesPlayListObject.h"
#include "library/itunes/ITunesTrackBinding.h"

#include <cstdint>
#include <optional>
#include <vector>

class AFile;
class ITunesSong;
class ITunesSongIndex;
class ITunesTrackLookup;

class ITunesPlayList : public ITunesBindingOwner {
public:
    static constexpr uint32_t kVersion = 0x00200000;

    // 2 to 10 are the application's special kinds 1 to 9, plus one.
    enum Kind : uint32_t { kUser = 0, kSmart = 1 };
    // What a sync may do with a playlist's songs.
    enum Access { kReadOnly = 1, kReadWrite = 3 };

    // Smart playlists and the special kinds from Podcasts on are read-only; user playlists, purchased
    // music and the party shuffle take and give up songs.
    static Access AccessOf(uint32_t kind);

    // `songs` owns the songs this playlist binds (none: they are owned elsewhere and never freed here).
    explicit ITunesPlayList(ITunesSongIndex* songs = nullptr);
    ITunesPlayList(const ITunesPlayList&) = delete;
    ITunesPlayList& operator=(const ITunesPlayList&) = delete;
    ~ITunesPlayList();

    int GetName(AString& out, uint32_t refresh);
    int SetName(const AString& name, uint32_t writeThrough);
    int32_t GetID() const { return m_id; }
    void SetID(int32_t id) { m_id = id; }
    uint32_t GetKind() const { return m_kind; }
    void SetKind(uint32_t kind) { m_kind = kind; }
    ITunesPlayListObject* GetPlayListObject() const { return m_object.get(); }
    // The iTunes client binds the record to its live playlist.
    void SetPlayListObject(ITunesPlayListRef object) { m_object = std::move(object); }

    int GetSongCount() const { return static_cast<int>(m_songs.size()); }
    // Null for an index outside the list.
    ITunesSong* GetSong(int index) const;
    // Appends a song pointer; no binding is made.
    void AddSong(ITunesSong* song);
    // Appends the song with a binding to a track of this playlist (its owner and kind are set here).
    void AppendBound(ITunesSong* song, ITunesTrackBinding binding);
    uint32_t GetSavedIDCount() const { return static_cast<uint32_t>(m_savedIDs.size()); }
    int32_t GetSavedID(int index) const;

    void SetFolderLayout(const EntryLayout& layout);
    const AString& GetFolderPattern() const { return m_folderPattern; }

    // Orders the songs by entry text (A-Z folded) into the sorted order, which the entries follow.
    void SortSongs(uint32_t ascending);
    int GetEntryCount() const;
    // Song `index` of the sorted order (of the playlist order before the first sort).
    ITunesSong* GetEntry(int index) const;
    // Removes the entry from the sorted order only.
    void RemoveEntry(int index);

    int RemoveSong(int index, uint32_t deleteInITunes);
    // Removes at most `count` occurrences of the song (all when negative); with `deleteInITunes` their
    // tracks are deleted from the live playlist, found again through `client` when their reference is gone.
    int DeleteSong(ITunesSong* song, int count, uint32_t deleteInITunes, ITunesTrackLookup* client);
    int AddSongToPlayList(ITunesSong* song);
    // Drops the live playlist and this playlist's bindings; a song left without any binding is freed by
    // the index.
    void Unbind();
    // Takes every pointer to the song out of both orders: the song is going away.
    void Forget(ITunesSong* song);

    int Serialize(AFile& stream) const;
    // The database ids are kept as saved ids until the iTunes client resolves them into songs.
    int Load(AFile& stream);

private:
    int BindingOwnedHere(const ITunesSong& song) const;
    // Removes the binding; a song left with none is taken out of both orders and freed by the index.
    // True when it was left with none.
    bool ReleaseBinding(ITunesSong* song, int bindingIndex);
    int DeleteTrack(const ITunesTrackBinding& binding, ITunesTrackLookup* client);

    ITunesSongIndex* m_index;
    AString m_name;
    int32_t m_id = -1;
    std::vector<ITunesSong*> m_songs;
    ITunesPlayListRef m_object;
    std::vector<int32_t> m_savedIDs;
    uint32_t m_kind = kUser;
    std::optional<std::vector<ITunesSong*>> m_sorted;
    EntryLayout m_layout = kInitialFolderLayout;
    AString m_folderPattern;
};
