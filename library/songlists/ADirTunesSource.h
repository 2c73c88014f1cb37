#pragma once
// The song lists of a source of the music application: its library, or an iPod it shows. Each owns a
// client of that source, whose songs are the entries ("\...?" + database id), or one playlist of it;
// finding, naming, removing and adding songs and making playlists go through the client alike. Each
// kind says which client it makes and how it connects one for a single call.

#include "library/songlists/ADirSong.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class ITunes;
class ITunesPlayList;
class ITunesSong;

class ADirTunesSource : public ADirSong {
public:
    ~ADirTunesSource() override;

    int GetCount() const override;
    void Sort(uint32_t ascending) override;
    // The song's file: by the entry's id, or by its entry text. -1 for a song that is not in the list or
    // has no file.
    int GetFullPath(const AString& entry, AString& out, uint32_t byID) override;
    uint64_t GetFileDate(const AString& entry) override;
    int RemoveEntry(int index, uint32_t deleteFile, uint32_t skip) override;
    int AddFile(const AString& entry, AddFileSongInfo& info) override;
    // The entry of a song that was deleted since the entries were made is empty.
    const AString* GetEntry(int index) override;
    void SetPlayListName(const AString& name) override { m_playListName = name; }
    void GetPlayListName(AString& out) const override { out = m_playListName; }
    int ResetAddState() override;
    // Asked of a client of its own: the list's playlists stay as the list read them.
    int IsPlayListReadOnly() override;
    int GetPlayListNames(std::vector<AString>& names, uint32_t withLibrary, uint32_t userOnly) override;
    int SaveArtwork(const AString& entry, int index, std::vector<uint8_t>& data) override;
    int GetArtworkCount(const AString& entry, int& count) override;
    int CreatePlayList(const AString& name) override;
    int DeletePlayList(const AString& name) override;
    int GetBitRate(const AString& entry) override;
    int GetDuration(const AString& entry) override;

    // Keeps the client's playlist named as the list's playlist (none for the whole source).
    virtual void FindPlayList();
    AString PlayListName() const { return m_playListName; }
    // The playlist (of this list's client) that added songs go to as well; null for none.
    void SetSecondPlayList(ITunesPlayList* playList) { m_secondPlayList = playList; }
    ITunes* GetClient() const { return m_client.get(); }

protected:
    explicit ADirTunesSource(AProgress* progress);

    // A new client of the list's source, not yet connected.
    virtual std::unique_ptr<ITunes> NewClient() const = 0;
    // A client for one call, connected to the list's source.
    virtual int ConnectTemporaryClient(std::unique_ptr<ITunes>& client) const = 0;
    // The list's client when it can make changes now; null sends them to a temporary client.
    virtual ITunes* ClientForChanges() const { return m_client.get(); }

    // Connects the client; a library file that cannot be read is named in the log, with why.
    int ConnectClient(ITunes& client) const;
    // Forgets the client and every playlist of it.
    void DropClient();
    ITunesSong* SongOfID(const AString& entry) const;
    ITunesSong* FindEntrySong(const AString& entry, bool byID) const;
    // The song must be in the kept playlist: by its bindings, or by the playlist's id when asked.
    bool InKeptPlayList(const ITunesSong& song, bool byPlayListID) const;
    // From a kept playlist one occurrence leaves it (its track looked up by id when asked); else the file
    // goes first (when asked and it exists: to "Removed Files", or deleted), then the song.
    int DeleteEntrySong(const AString& entry, uint32_t byID, uint32_t skip, bool deleteFile,
                        bool byPlayListID);
    // Adds the file through the client, then to the kept and the second playlist. A file the source
    // holds already counts as added when `heldCounts` and the client names its song.
    int AddTrack(const AString& path, const AString* key, bool heldCounts, ITunesSong*& song);
    // Adds the file through the client and into the kept playlist; -4 when the source holds it.
    int AddSongFile(const AString& path);
    // The record: the word, the song list's record, the entry buffer, the playlist name and the client.
    int SaveClientRecord(AFile& stream, uint32_t flag, uint32_t word);
    int LoadClientRecord(AFile& stream, uint32_t flag, uint32_t word);

    AString m_entryBuffer;
    AString m_playListName;
    ITunesPlayList* m_keptPlayList = nullptr;
    ITunesPlayList* m_secondPlayList = nullptr;
    std::unique_ptr<ITunes> m_client;

private:
    int WithClient(const std::function<int(ITunes&)>& use);
    int AddToSecondPlayList(ITunesSong* song);
};
