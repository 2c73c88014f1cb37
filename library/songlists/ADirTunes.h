#pragma once
// The song list of the local music library, or of one playlist of it. Its entries are the entry texts
// of the library's songs, each ending in "?" and the song's database id; reading, deleting, adding and
// describing songs go to the music application through an owned iTunes client. Its root is a marker,
// not a folder. The list of another computer's library derives from it.

#include "library/itunes/ITunesPlayData.h"
#include "library/songlists/ADirTunesSource.h"

#include <cstdint>
#include <memory>
#include <vector>

struct SongFields;

class ADirTunes : public ADirTunesSource {
public:
    // Saved lists of this kind lead with this number instead of a version word.
    static constexpr uint32_t kTunesRecordWord = 10002;
    static constexpr const char* kRootMarker = "*ITunes_Root*";

    explicit ADirTunes(AProgress* progress = nullptr);
    ~ADirTunes() override;

    uint32_t GetType() const override { return kTypeTunes; }
    int Open(const AString* path, uint32_t fullPaths, const CancelCallback& callback) override;
    // The root is kept as given: it is a marker, no folder.
    void SetRootPath(const AString& path) override { m_rootPath = path; }
    // From a playlist list: one occurrence leaves the playlist; the library and the file stay. From the
    // library: the file goes to "Removed Files" (or is deleted), then the song leaves the library.
    int DeleteFile(const AString& entry, uint32_t byID, uint32_t skip) override;
    uint32_t FileExists(const AString& entry) override;
    void Clear() override;
    int Save(AFile& stream, uint32_t flag) override;
    int Load(AFile& stream, uint32_t flag) override;
    // "iTunes:" (left out when asked) and the playlist name.
    AString& GetDescription(AString& out, uint32_t noPrefix) override;
    // Connects and reads the library, or the playlist named (-8 when the library has none of that name).
    // With `keepClient` the client of the last read connects again and is kept.
    int ReadDirectory(const CancelCallback& callback, uint32_t keepClient) override;
    // Read afresh from the library file on every call.
    void GetMusicFolder(AString& out) override;
    // Files the song in the music folder (copying it there when it is not), adds it to the library and
    // to the playlist of the list.
    int AddSong(const AString& file, const CancelCallback& callback) override;
    // The file copied into the music folder's layout (GetMusicFolderPath), unless it lies there already.
    int PlaceFileInLibrary(const AString& musicFolder, const AString& file, AString& target, uint32_t& copied,
                           const CancelCallback& callback) override;
    // AddTrackFile; `keptFile` is the file of the library's song, which for a file the library held
    // already may be another.
    int AddFileToLibrary(const AString& file, AString& keptFile, const CancelCallback& callback) override;

    virtual void CopyTunesSettings(const ADirTunes& other);
    // The play data of the entry's song as a song key; empty for an unknown song. The song's comment is
    // cleaned of file-name characters on the way.
    virtual AString GetSongKey(const AString& entry);
    // The names and numbers the library keeps for the entry's song (title, artist, album, genre,
    // composer, track number, year): what its entry text was built from. False for an unknown song.
    bool GetRecordFields(const AString& entry, SongFields& fields) const;
    virtual int UpdateSongInfo(const AString& entry, const AString& key, const ITunesPlayDataFields& fields);
    virtual int CreateSyncPlayList(const AString& name);
    // Adds a file of the library's music folder (as PlaceFileInLibrary left it) to the library.
    virtual int AddPlacedSong(const AString& file, const AString* key, const CancelCallback& cancel);
    // Deletes a placed file the library did not take.
    virtual int DiscardPlacedFile(const AString& file);

    const AString& GetCachedMusicFolder() const { return m_musicFolder; }
    // Adds the file to the library (a file it holds already counts as added), then to the playlist of the
    // list and to the second playlist. `key`: play data for the new track, or none.
    int AddTrackFile(const AString& path, const AString* key);
    // Places the song file in the music folder, in its organised folder and under its organised name,
    // copying it only when no copy is there yet; `copied` tells whether it was copied.
    int GetMusicFolderPath(const AString& musicFolder, const AString& source, AString& target,
                           const AString& presetName, uint32_t& copied, const CancelCallback& callback);
    uint32_t GetITunesVersion() const { return m_iTunesVersion; }
    void SetDeleteFiles(uint32_t deleteFiles) { m_deleteFiles = deleteFiles; }

protected:
    std::unique_ptr<ITunes> NewClient() const override;
    int ConnectTemporaryClient(std::unique_ptr<ITunes>& client) const override;

private:
    bool IsLimitedToPlayList() const;

    AString m_musicFolder;
    uint32_t m_deleteFiles = 1;
    uint32_t m_iTunesVersion = 0;
};
