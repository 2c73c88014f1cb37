#pragma once
// The base of every source whose entries are songs. It adds the song-list options (four text filters,
// the levels an entry text holds, the keep rule's options) and the rules that all song sources share:
// how entries are compared, which of two duplicate files is kept, the folder and file name a song is
// filed under, the display text of an entry, the quick duplicate scan and the HTML list. It holds the
// rows of the last library tool and forwards the tools to the layer that implements them.

#include "library/songlists/ADir.h"
#include "library/songlists/SongToolAction.h"

#include <cstdint>
#include <vector>

class AArray;
class SongListTools;
class ToolActionPresenter;

class ADirSong : public ADir {
public:
    static constexpr uint32_t kSongRecordVersion = 0x0010000B;
    static constexpr const char* kSongTypes = ":mp3:m4p:m4a:m4b:aac:";
    static constexpr const char* kProtectedTypes = ":m4p:m4v:";
    // The iTunes version from which podcasts, movies and TV shows get folders of their own and titles
    // keep their length.
    static constexpr uint32_t kVersionWithMediaFolders = 700;
    static constexpr int kShortTitleLength = 36;
    static constexpr int kFolderNameLength = 40;

    enum KeepChoice { kKeepFirst = 1, kKeepSecond = 2 };
    // Shared by all steps of one confirmed run; starts at kConfirmAsk.
    enum ConfirmState : uint32_t { kConfirmAsk = 0, kConfirmYesToAll = 2, kConfirmNoToAll = 4 };

    explicit ADirSong(AProgress* progress = nullptr);

    void SetSizeMatchesTarget(uint32_t value) { m_sizeMatchesTarget = value; }
    void SetLargestOverNewest(uint32_t value) { m_largestOverNewest = value; }
    void SetTypeLevel(uint32_t value) { m_layout.type = value; }
    void SetGenreLevel(uint32_t value) { m_layout.genre = value; }
    void SetAlbumLevel(uint32_t value) { m_layout.album = value; }
    void SetTrackLevel(uint32_t value) { m_layout.track = value; }
    void SetEntryOption(uint32_t value) { m_layout.option = value; }
    void SetProtectedFiles(uint32_t value) { m_protectedFiles = value; }
    void SetOnlyMyAppleIDs(uint32_t value) { m_onlyMyAppleIDs = value; }
    void SetAddState(uint32_t value) { m_addState = value; }
    void SetPreferredTypes(const AString& types) { m_preferredTypes = types; }
    void SetAllowedAppleIDs(const AString& accounts) { m_allowedAppleIDs = accounts; }
    void SetGenreFilter(const SongFilter& filter) { m_filters.genre = filter; }
    void SetArtistFilter(const SongFilter& filter) { m_filters.artist = filter; }
    void SetAlbumFilter(const SongFilter& filter) { m_filters.album = filter; }
    void SetTitleFilter(const SongFilter& filter) { m_filters.title = filter; }

    uint32_t GetSizeMatchesTarget() const { return m_sizeMatchesTarget; }
    uint32_t GetLargestOverNewest() const { return m_largestOverNewest; }
    uint32_t GetTypeLevel() const { return m_layout.type; }
    uint32_t GetGenreLevel() const { return m_layout.genre; }
    uint32_t GetAlbumLevel() const { return m_layout.album; }
    uint32_t GetTrackLevel() const { return m_layout.track; }
    uint32_t GetEntryOption() const { return m_layout.option; }
    uint32_t GetProtectedFiles() const { return m_protectedFiles; }
    uint32_t GetOnlyMyAppleIDs() const { return m_onlyMyAppleIDs; }
    uint32_t GetAddState() const { return m_addState; }
    const AString& GetPreferredTypes() const { return m_preferredTypes; }
    const AString& GetAllowedAppleIDs() const { return m_allowedAppleIDs; }
    const SongFilter& GetGenreFilter() const { return m_filters.genre; }
    const SongFilter& GetArtistFilter() const { return m_filters.artist; }
    const SongFilter& GetAlbumFilter() const { return m_filters.album; }
    const SongFilter& GetTitleFilter() const { return m_filters.title; }
    const EntryLayout& GetEntryLayout() const { return m_layout; }

    // The quick scan: neighbours whose entries differ only after "?" are duplicates; the keep rule
    // decides which entry leaves the list. No file is deleted. With `full` the duplicate removal tool
    // runs instead.
    int FindDuplicates(uint32_t full, uint32_t sortFirst, uint32_t ascending, const CancelCallback& callback,
                       uint32_t verbose) override;
    int Save(AFile& stream, uint32_t flag) override;
    int Load(AFile& stream, uint32_t flag) override;
    void CopySettings(const ADir& other) override;
    void BuildTargetFolder(const ID3& tags, AString& folder, uint32_t* unknownArtist,
                           uint32_t iTunesVersion) override;

    // Case-insensitive (A-Z folded), the order of Sort.
    virtual int CompareNames(const AString& a, const AString& b) const;
    // The keep rule: kKeepFirst or kKeepSecond.
    virtual int ChooseKeeper(const AString& a, const AString& b);
    virtual void GetMusicFolder(AString& out);
    virtual int IsPlayListReadOnly() { return 0; }
    virtual int SaveArtwork(const AString& entry, int index, std::vector<uint8_t>& data);
    virtual int GetArtworkCount(const AString& entry, int& count);
    // A negative width shows every level with the source's description in front.
    virtual AString& BuildDisplayString(AString& out, const AString& entry, int width, uint32_t noPrefix);
    virtual int GetPlayListNames(std::vector<AString>& names, uint32_t withLibrary, uint32_t userOnly);
    virtual int AddSong(const AString& file, const CancelCallback& callback);
    virtual int CreatePlayList(const AString& name);
    virtual int DeletePlayList(const AString& name);
    virtual int GetBitRate(const AString& entry);
    virtual int GetDuration(const AString& entry);
    // Where a file found in the music folder goes when the library takes it: `target` is the file to
    // add, the file itself or a copy placed in the library's own folder layout (`copied` = 1). A folder
    // list and an iPod take the file where it lies.
    virtual int PlaceFileInLibrary(const AString& musicFolder, const AString& file, AString& target,
                                   uint32_t& copied, const CancelCallback& callback);
    // Adds a prepared file to the library: 0, or -102396 when it was added but not to the second
    // playlist. `keptFile` is the file the library keeps the song in: the added file itself, or a copy
    // of the library's own (empty when its path is not known). A folder list lists the file.
    virtual int AddFileToLibrary(const AString& file, AString& keptFile, const CancelCallback& callback);

    // The library tools, registered by the layer above (-11167 while none is). Each takes the list's
    // lock with a try (-102390 when busy), shows what it found for confirmation and performs the
    // confirmed rows: 0, 123456 when cancelled or not confirmed, or the error that ended it.
    int RemoveDuplicates(const CancelCallback& callback, uint32_t verbose);
    int RemoveOrphans(const CancelCallback& callback, uint32_t verbose);
    // The first word is the caller's and is not looked at.
    int RemoveMusicNotOwned(uint32_t ignored, const CancelCallback& callback, uint32_t verbose);
    int ScanDisconnectedFiles(uint32_t addMode, const CancelCallback& callback, uint32_t verbose);
    int SaveAlbumArt(const CancelCallback& callback, uint32_t verbose);
    // For the whole process; null: every tool answers -11167.
    static void SetLibraryTools(SongListTools* tools);

    // The rows of the last tool; they stay after a list that was not confirmed until the next tool.
    SongToolActions& GetToolActions() { return m_toolActions; }
    void ClearToolActions() { m_toolActions.clear(); }
    // Shows the rows for confirmation: 0 confirmed, 123456 not, -15017 for a kind outside the tools'.
    int ShowToolActionList(uint32_t kind);
    // Shows a sync's list of songs to add to `target`: 0 confirmed, 123456 not, -15018 when `reserved`
    // is not 0.
    int ShowAddSongsActionList(ADirSong& target, AArray& actions, uint32_t reserved);
    // For the whole process; without one nobody confirms, and every list answers 123456. Returns the
    // presenter it replaces.
    static ToolActionPresenter* SetToolActionPresenter(ToolActionPresenter* presenter);

    bool PassesSongFilters(const AString& entry) const;
    bool PassesGenreFilter(const AString& value) const { return m_filters.PassesGenre(value, m_layout); }
    bool PassesArtistFilter(const AString& value) const { return m_filters.PassesArtist(value); }
    bool PassesAlbumFilter(const AString& value) const { return m_filters.PassesAlbum(value, m_layout); }
    bool PassesTitleFilter(const AString& value) const { return m_filters.PassesTitle(value); }
    void ClearAdded() { m_addState = 0; }
    // 1 go on, 0 skip. A question closed without an answer counts as No.
    int ConfirmStep(uint32_t& state, const AString& text);
    // Asked before the next step of a long operation that met an error, when AskOnError is set: true
    // when the user chose to quit.
    bool AskQuitAfterError();
    int IsSameSong(const AString& a, const AString& b, uint32_t checkTags);
    // Bit 0 of the byte at offset 10 of the iPod's preferences: 1 = the iPod updates itself; an iPod
    // without preferences is updated by hand. Read afresh on every call: another iPod may have been
    // mounted at the same place since.
    static int GetPodAutoUpdate(const AString& podRoot, uint32_t& flag);
    static int IsAutoUpdatePod(const AString& podRoot, uint32_t& flag) {
        return GetPodAutoUpdate(podRoot, flag);
    }
    // The organised folder below `folder` and the file name under which the source file is filed.
    int MakeTargetName(const AString& source, AString& folder, AString& name, uint32_t iTunesVersion);
    // Reads the source again and writes it as an HTML page at `htmlPath`; an old page stays as it was
    // when writing fails.
    int BuildDirectoryList(const AString& htmlPath, const CancelCallback& callback);
    int WriteHtmlLibrary(AFile& file, const CancelCallback& callback);

protected:
    uint32_t m_sizeMatchesTarget = 0;
    uint32_t m_largestOverNewest = 1;
    uint32_t m_protectedFiles = 1;
    uint32_t m_onlyMyAppleIDs = 1;
    uint32_t m_addState = 0;
    EntryLayout m_layout;
    AString m_preferredTypes;
    AString m_allowedAppleIDs;
    SongToolActions m_toolActions;

private:
    // Neighbouring entries (of the sorted list) whose names are equal: indexes low to high.
    struct DuplicateRun {
        int low;
        int high;
    };
    // One comparison of the keep rule inside a run.
    struct DuplicatePair {
        int lower;        // the index of the pair's lower entry
        int removed = -1; // the entry that is to leave the list
        AString message;  // "Detected Dup: " + its name + " from " + its file
        int error = 0;    // a file that could not be named: nothing leaves
    };

    // The quick scan's steps: find, choose, confirm (the only one that asks the user), remove.
    int ScanNeighbours(const CancelCallback& callback, uint32_t verbose);
    std::vector<DuplicateRun> FindNeighbourDuplicates(const CancelCallback& callback, uint32_t verbose,
                                                      bool& cancelled);
    void ChooseKeepers(const DuplicateRun& run, std::vector<DuplicatePair>& pairs);
    // The first error of the pairs; the entries to remove in `removals`.
    int ConfirmRemovals(const std::vector<DuplicatePair>& pairs, const CancelCallback& callback,
                        uint32_t verbose, std::vector<int>& removals, bool& cancelled);
    AString NameAt(int index);
    // The progress position of the pair whose lower entry is at `lower`.
    double ScanPosition(int lower) const;
    struct Protection {
        bool isProtected = false;
        bool foreignAccount = false;
    };
    Protection CheckProtection(const AString& path);
    int ChooseByProtection(const AString& a, const AString& b);
    bool IsSameSongAtTarget(const AString& source, uint64_t sourceAudioSize, const AString& target,
                            bool unknownArtist, bool compilation);
};
