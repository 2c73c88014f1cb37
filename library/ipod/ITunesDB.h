#pragma once
// The iPod database of one iPod drive: its chunk tree read from "iPod_Control/iTunes/iTunesDB" (names
// only, or the tracks with or without the playlists), the entry texts of its tracks for the iPod's song
// list, the changes (adding and removing tracks), the record form, and the way back to the drive: the
// database, the Shuffle's iTunesSD beside it, and the iPod identifier.

#include "foundation/AString.h"
#include "foundation/CancelCallback.h"
#include "library/entries/EntryText.h"
#include "library/ipod/ITunesDBHeader.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class AFile;
class AMemFile;
class AProgress;
class ITunesDBPlayList;
class ITunesDBTrack;
class ITunesSong;
class PodFileReplacement;
class PodFileSystem;
struct PodSongInfo;
struct SongFilters;

class ITunesDB {
public:
    static constexpr uint32_t kRecordVersion = 0x100000;

    ITunesDB();
    ITunesDB(const ITunesDB&) = delete;
    ITunesDB& operator=(const ITunesDB&) = delete;
    ~ITunesDB();

    void SetFolderLayout(const EntryLayout& layout);
    void SetTempFolder(const AString& folder);
    void GetDrive(AString& out) const { out = m_drive; }
    const AString& GetPodIDText() const { return m_podId; }
    void SetPodIDText(const AString& id) { m_podId = id; }
    // The database file below a drive: drive/iPod_Control/iTunes/iTunesDB.
    static AString DatabasePath(const AString& drive);
    static AString ShuffleDatabasePath(const AString& drive);

    // Names mode: headers and playlist names (a tree that may not be saved). With isDrive, `path` is the
    // iPod's root (and becomes the drive), else the database file itself.
    int Read(const AString& path, bool isDrive);
    // Library mode: the tracks, and with withPlayLists the playlists with their items; only then may the
    // database be saved. A given drive replaces the stored one.
    int ReadLibrary(const AString* drive, bool withPlayLists, const CancelCallback& cancel,
                    AProgress* progress);

    // The number of songs in the database at this moment: every add and removal counts at once.
    int GetSongCount() const;
    // 0, or -2 when the second data set has no playlist with a title.
    int GetPodName(AString& out) const;
    // The playlists of the second data set, the master playlist not counted.
    int GetPlayListCount() const;
    // Playlist i (the master playlist skipped) of the second (which = 2) or third (which = 3) data set.
    ITunesDBPlayList* GetPlayList(int i, int which) const;
    // 1 and the path of the first track that matches the song (same size, title, artist, album, genre).
    int FindPathForSong(ITunesSong& song, AString& outPath) const;
    ITunesDBHeader& GetRoot() const { return *m_root; }

    // Rebuilds the sorted entry texts of the tracks that pass the song list's filters (none: all); the
    // genre and album filters apply as far as the database's layout holds those levels.
    void SortEntries(bool ascending, const SongFilters* filters);
    // The length of the iPod's song list: the entries of the sorted list while it exists (what GetEntry
    // and RemoveEntry index; AddTrack and RemoveTrack leave it as it is, so its indexes stay put), else
    // the number of songs.
    int GetEntryCount() const;
    ITunesDBTrack* GetEntry(int i) const;
    // The sorted entry text at index i with its "?" + handle tail, as BuildEntry gives it; empty outside
    // the list. It stays valid until the entries are sorted or cleared again.
    std::u16string_view GetEntryText(int i) const;
    // The track's entry text in the database's layout; its file is looked for on the drive.
    AString BuildEntry(ITunesDBTrack& track, bool withHandle) const;
    // 1 and the track whose entry text equals `entry` (without its "?" tail unless withHandle), else 0.
    int FindTrack(ITunesDBTrack** outTrack, const AString& entry, bool withHandle) const;
    void RemoveEntry(int i);
    void ClearEntries();

    // 0, -4 when a matching track is there already (nothing added), -2 or -15164 for a missing or wrong
    // track list. Without create it only looks for the duplicate. The new track is dated now and joins
    // the end of the master playlists.
    int AddTrack(const PodSongInfo& description, ITunesDBTrack** outTrack, bool create);
    // Removes the track the entry names and every playlist item bound to it.
    void RemoveTrack(const AString& entry);

    int Serialize(AFile* stream);
    // A failed load leaves a partial tree, which may not be saved.
    int Load(AFile* stream);

    // Writes the new iTunesDB (first into the work folder, when there is one elsewhere, from which it is
    // copied) and the new iTunesSD beside the old ones, and replaces both only once both are complete
    // and synced: a failed save leaves both old files or both new ones. A save that would not fit on
    // the iPod beside the old files (and their copies, where the iPod's file system cannot swap two
    // names) is refused before anything is written (-102394). A given root replaces the stored drive
    // for this call.
    int Save(const AString* root);
    // The same through the given file system (tests make its steps fail).
    int Save(const AString* root, PodFileSystem& files);
    int WriteShuffleDB(AFile* stream) const;
    // The identifier of the iPod on the volume: its serial number, or the CRC-32 of the iPod's name for
    // a volume without one. 0, or -15172 when the volume cannot be asked.
    int GetPodID(const AString& volumeRoot);

private:
    // The texts and keys lie end to end in the entry store.
    struct SortedEntry {
        std::u16string_view text; // with its "?" + handle tail
        uint64_t handle;
        std::u16string_view key; // EntrySortKey of the text
        ITunesDBTrack* track;    // null once the track was removed
    };

    int ReadTree(AFile& stream, const ITunesDBReadContext& context);
    int ReadLibraryFile(const AString& path, const ITunesDBReadContext& context);
    ITunesDBPlayListList* GetPlayListListOf(int role) const;
    bool PassesFilters(const ITunesDBTrack& track, const SongFilters& filters) const;
    int CompareTexts(const SortedEntry& a, const SortedEntry& b) const;
    int CompareEntries(const SortedEntry& a, const SortedEntry& b) const;
    int LoadRecord(AFile& stream);
    int StageDatabase(PodFileReplacement& replacement, PodFileSystem& files, const std::string& target,
                      std::span<const uint8_t> tree) const;

    EntryLayout m_layout = kInitialFolderLayout;
    AString m_pattern;
    uint32_t m_libraryRead = 0;
    std::unique_ptr<ITunesDBHeader> m_root;
    AString m_workFolder;
    AString m_drive;
    AString m_podId;
    std::vector<SortedEntry> m_entries;
    // Filled before the entries are sorted and never changed after.
    std::u16string m_entryStore;
    bool m_entriesBuilt = false;
    bool m_entriesAscending = true;
};
