#pragma once
// The song sync: two collections of songs (the local library, another computer's library, an iPod, an
// iPod's database, a folder of song files, or a plain folder) synced by their tag keys. It lets the song
// list that owns an entry do the file work, copies a new song into its target the way that target keeps
// songs (its database, its library, its organised folders), checks an iPod before it is written into,
// and runs the add-files command. The decisions and the perform loop stay those of ASync.

#include "foundation/AString.h"
#include "library/entries/SongFilters.h"
#include "library/songlists/ADir.h"
#include "sync/ASync.h"

#include <cstdint>
#include <memory>

class ADirPodDB;
class ADirSong;

class ASyncLib : public ASync {
public:
    static constexpr uint32_t kRecordVersion = 0x00100003;
    static constexpr int kSongSyncKind = 2;
    // The bits of CheckBeforeSync's stage: tell the user (and ask), check the playlists written into.
    enum CheckFlags : int { kCheckTell = 1, kCheckPlayLists = 2 };
    // The add-files run builds the lists these bits name (ASync::RunFlags).
    static constexpr uint32_t kProcessBuildMask = kBuildList1 | kBuildList2;

    // The local library against an iPod, unless types are given.
    explicit ASyncLib(AProgress* progress = nullptr);
    ASyncLib(uint32_t type1, uint32_t type2, AProgress* progress = nullptr);

    // Makes new lists for a side whose type changes: 0, or -36 when this program has no list of a type
    // of the table (the old lists then stay). A type outside the table leaves its side as it is.
    int InitSongTypes(uint32_t type1, uint32_t type2);
    uint32_t GetType1() const { return m_type1; }
    uint32_t GetType2() const { return m_type2; }
    // Runs the sync on lists of the caller (which may belong to another sync) until UseNewLists puts
    // this sync's own lists back; the snapshots are new lists of the same types.
    void CreateNewLists(std::shared_ptr<ADir> list1, std::shared_ptr<ADir> list2);
    void UseNewLists();
    // Direction and delete mode, and with `withLists` the settings of each of the four lists.
    void CopySyncOptions(const ASyncLib& other, bool withLists);

    uint32_t GetCopyIntoLibrary() const { return m_copyIntoLibrary; }
    void SetCopyIntoLibrary(uint32_t copy) { m_copyIntoLibrary = copy; }
    const AString& GetLibraryText() const { return m_libraryText; }
    void SetLibraryText(const AString& text) { m_libraryText = text; }

    // The song-list options: read from Directory 1, written to all four lists. A new value empties both
    // snapshots (the next two-way sync starts without memory of deletions); the Apple IDs keep them.
    enum TagField { kGenreField, kArtistField, kAlbumField, kTitleField };
    uint32_t GetFilterMode(TagField field) const;
    const AString& GetFilterInclude(TagField field) const;
    const AString& GetFilterExclude(TagField field) const;
    void SetFilterMode(TagField field, uint32_t mode);
    void SetFilterInclude(TagField field, const AString& list);
    void SetFilterExclude(TagField field, const AString& list);
    uint32_t GetGenreFilterMode() const { return GetFilterMode(kGenreField); }
    const AString& GetGenreIncludeList() const { return GetFilterInclude(kGenreField); }
    const AString& GetGenreExcludeList() const { return GetFilterExclude(kGenreField); }
    void SetGenreFilterMode(uint32_t mode) { SetFilterMode(kGenreField, mode); }
    void SetGenreIncludeList(const AString& list) { SetFilterInclude(kGenreField, list); }
    void SetGenreExcludeList(const AString& list) { SetFilterExclude(kGenreField, list); }
    uint32_t GetArtistFilterMode() const { return GetFilterMode(kArtistField); }
    const AString& GetArtistIncludeList() const { return GetFilterInclude(kArtistField); }
    const AString& GetArtistExcludeList() const { return GetFilterExclude(kArtistField); }
    void SetArtistFilterMode(uint32_t mode) { SetFilterMode(kArtistField, mode); }
    void SetArtistIncludeList(const AString& list) { SetFilterInclude(kArtistField, list); }
    void SetArtistExcludeList(const AString& list) { SetFilterExclude(kArtistField, list); }
    uint32_t GetAlbumFilterMode() const { return GetFilterMode(kAlbumField); }
    const AString& GetAlbumIncludeList() const { return GetFilterInclude(kAlbumField); }
    const AString& GetAlbumExcludeList() const { return GetFilterExclude(kAlbumField); }
    void SetAlbumFilterMode(uint32_t mode) { SetFilterMode(kAlbumField, mode); }
    void SetAlbumIncludeList(const AString& list) { SetFilterInclude(kAlbumField, list); }
    void SetAlbumExcludeList(const AString& list) { SetFilterExclude(kAlbumField, list); }
    uint32_t GetTitleFilterMode() const { return GetFilterMode(kTitleField); }
    const AString& GetTitleIncludeList() const { return GetFilterInclude(kTitleField); }
    const AString& GetTitleExcludeList() const { return GetFilterExclude(kTitleField); }
    void SetTitleFilterMode(uint32_t mode) { SetFilterMode(kTitleField, mode); }
    void SetTitleIncludeList(const AString& list) { SetFilterInclude(kTitleField, list); }
    void SetTitleExcludeList(const AString& list) { SetFilterExclude(kTitleField, list); }

    enum SongOption {
        kLargestOverNewest,
        kUseFileType,
        kUseGenre,
        kUseAlbumName,
        kUseTrackNumber,
        kProtectedFiles,
        kOnlyMyAppleIDs,
    };
    uint32_t GetSongOption(SongOption option) const;
    void SetSongOption(SongOption option, uint32_t value);
    uint32_t GetLargestOverNewest() const { return GetSongOption(kLargestOverNewest); }
    void SetLargestOverNewest(uint32_t value) { SetSongOption(kLargestOverNewest, value); }
    uint32_t GetUseFileType() const { return GetSongOption(kUseFileType); }
    void SetUseFileType(uint32_t value) { SetSongOption(kUseFileType, value); }
    uint32_t GetUseGenre() const { return GetSongOption(kUseGenre); }
    void SetUseGenre(uint32_t value) { SetSongOption(kUseGenre, value); }
    uint32_t GetUseAlbumName() const { return GetSongOption(kUseAlbumName); }
    void SetUseAlbumName(uint32_t value) { SetSongOption(kUseAlbumName, value); }
    uint32_t GetUseTrackNumber() const { return GetSongOption(kUseTrackNumber); }
    void SetUseTrackNumber(uint32_t value) { SetSongOption(kUseTrackNumber, value); }
    uint32_t GetProtectedFiles() const { return GetSongOption(kProtectedFiles); }
    void SetProtectedFiles(uint32_t value) { SetSongOption(kProtectedFiles, value); }
    uint32_t GetOnlyMyAppleIDs() const { return GetSongOption(kOnlyMyAppleIDs); }
    void SetOnlyMyAppleIDs(uint32_t value) { SetSongOption(kOnlyMyAppleIDs, value); }
    const AString& GetPreferredTypes() const;
    void SetPreferredTypes(const AString& types);
    const AString& GetAppleIDs() const;
    void SetAppleIDs(const AString& accounts);
    // Not on a plain-folder side, which has no tags to compare.
    uint32_t GetDontCopyWhenTagsEqual() const;
    void SetDontCopyWhenTagsEqual(uint32_t value);

    // The playlist a side is limited to, on its list and its snapshot. A new name of a library or iPod
    // list empties both snapshots.
    void SetPlayListName1(const AString& name) { SetPlayListName(kSide1, name); }
    void SetPlayListName2(const AString& name) { SetPlayListName(kSide2, name); }
    void SetPlayListName(Side side, const AString& name);
    // The side's playlist name; empty for a side whose kind names no playlist.
    AString GetPlayListName(Side side) const;

    void ClearAddState(uint32_t unused);
    int ResetAddState();
    // Makes the playlist on a library or iPod side and limits that side's list to it: 0 or the list's
    // code; other sides do nothing.
    int CreatePlayListOnSide(Side side, const AString& name);

    // The id of this computer's library: 0, -15036 without a music folder, -15037 or -15038 for a
    // line without an id, or the read failure.
    static int GetLibraryPersistentID(uint64_t& id);
    // The id of the library the iPod belongs to (0: none).
    static int ReadPodLibraryID(const AString& podRoot, uint64_t& id);
    static int DivorcePod(const AString& podRoot);

    bool PassesFilter(const AString& path) override;
    bool CompareFileInfo(const AString& a, const AString& b) override;
    int CreateDirectory(const AString& path) override;
    int CopyEntry(const AString& source, const AString& target, uint32_t targetExists, uint32_t replace,
                  const CancelCallback& cancel, AString& written) override;
    int DeleteEntry(const AString& path) override;
    void GetEntryName(const AString& path, AString& out) override;
    int CheckBeforeSync(int stage) override;
    int GetSyncKind() const override { return kSongSyncKind; }
    int BuildList1(const AString* root, const CancelCallback& cancel, bool rebuild, bool lock) override;
    int BuildList2(const AString* root, const CancelCallback& cancel, bool rebuild, bool lock) override;
    int ScanDuplicates(const CancelCallback& cancel) override;
    int Process(const CancelCallback& cancel, uint32_t steps) override;
    int Save(AFile& stream, uint32_t flag) override;
    int Load(AFile& stream, uint32_t flag) override;
    AString GetEntryText(const AString& path, int kind, int width, uint32_t noPrefix) override;
    int ShowActionList() override;

protected:
    AString GetSongKey(ADir& list, const AString& path) override;
    void UpdateSongInfo(ADir& list, const AString& path, const AString& key, uint32_t fields) override;
    AString GetDeviceId(ADir& list) override;

private:
    struct SpareLists {
        std::shared_ptr<ADir> list1, snapshot1, list2, snapshot2;
        uint32_t type1 = 0, type2 = 0;
    };

    int MakeSideLists(Side side, uint32_t type);
    void NoteListTypes();
    static AString SideRoot(const AString& root);
    ADirSong* SongList(Side side) const;
    template <class Apply> void ForEachSongList(Apply apply);
    template <class Read, class Write, class Value>
    void SetOnSongLists(const Read& read, const Write& write, const Value& value, bool keepsSnapshots);
    // One part (flags, keep or drop list) of a tag field's filter on every song list.
    template <class Value> void SetFilterPart(TagField field, Value SongFilter::*part, const Value& value);
    void ClearSnapshotLists();
    bool IsWrittenInto(Side side) const;

    int CheckPodMarriages(bool tell);
    int CheckPodMarriage(ADirSong& pod, bool tell);
    int CheckPodVolumes(bool tell);
    int CheckPodAutoUpdate(bool tell);
    int CheckReadOnlyPlayLists(bool tell);
    int Refuse(int code, bool tell, const char* text, const char* title);
    int TellFailure(int code, bool tell, const AString& what);
    static AString PrefsUnreadableText(const AString& podRoot);

    // The path below the root of the list, its leading entry separator kept.
    AString EntryOf(const ADir& list, const AString& path) const;
    int CopyNewSong(ADir& sourceList, ADir& targetList, const AString& source, const AString& sourceFile,
                    const CancelCallback& cancel, AString& written);
    int CopyOntoPod(ADir& sourceList, ADirPodDB& pod, const AString& source, const AString& sourceFile,
                    const CancelCallback& cancel);
    int CopyIntoLibrary(ADir& sourceList, ADir& targetList, const AString& source, const AString& sourceFile,
                        const CancelCallback& cancel, AString& written);
    int CopyIntoPlainFolder(ADir& sourceList, ADir& targetList, const AString& sourceFile,
                            const CancelCallback& cancel, AString& written);
    AString SongNameOf(const ADir& sourceList, const AString& source) const;

    int RunProcess(const CancelCallback& cancel, uint32_t steps);
    int ConfirmAddList();

    uint32_t m_copyIntoLibrary = 1;
    AString m_libraryText;
    uint32_t m_type1 = ADir::kTypeDir;
    uint32_t m_type2 = ADir::kTypeDir;
    std::unique_ptr<SpareLists> m_spare;
};
