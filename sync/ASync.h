#pragma once
// The engine of one sync between two song lists, Directory 1 and Directory 2. It owns both lists, the
// two snapshot lists that remember each side as it stood after the last two-way sync with deletions,
// the action list and the options. Its road (Sync) builds both lists, decides the actions of its
// direction, has them confirmed, performs them and finalises. The library and playlist syncs derive
// from it and override the virtual operations below.
//
// Nothing a user owns is put at risk by a list that is wrong: a list that could not be built ends the
// sync before anything is decided, entries that cannot be paired safely (no name, names that differ
// only in letter case) get no action, and deletions are only ever carried across when a snapshot of
// the very same side says the entry was there.

#include "foundation/ASemaphore.h"
#include "foundation/AString.h"
#include "foundation/CancelCallback.h"
#include "sync/SyncAction.h"
#include "sync/SyncEntryWalk.h"
#include "sync/SyncOptions.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <thread>
#include <vector>

class ADir;
class AFile;
class AProgress;
class ProgressStatusView;
class SyncActionPresenter;
class SyncHost;
struct FileInfo;
struct SongKey;

class ASync {
public:
    static constexpr uint32_t kRecordVersion = 0x0010000C;
    static constexpr int kPlainSyncKind = 1;
    // The run flags of Sync and Prepare.
    enum RunFlags : uint32_t { kBuildList1 = 1, kBuildList2 = 2, kPrepareOnly = 4 };
    // The stage CheckBeforeSync is asked in.
    enum CheckStage : int { kCheckInPrepare = 0, kCheckPrepareOnly = 2, kCheckSync = 3 };
    // What GetEntryText names: the folder a path lies in, or the entry itself.
    enum EntryTextKind : int { kFolderPart = 0, kWholeEntry = 1 };
    static constexpr int kActionTextWidth = -1;
    static constexpr int kLogTextWidth = 25;
    enum Side : int { kSide1 = 1, kSide2 = 2 };
    // The device id a list has when its device could not be identified: its snapshots are never kept.
    static constexpr const char* kUnknownDeviceId = "00000000";

    // Without a progress object the sync and its lists report to a quiet one.
    explicit ASync(AProgress* progress = nullptr);
    ASync(const ASync&) = delete;
    ASync& operator=(const ASync&) = delete;
    virtual ~ASync();

    ADir& GetDirectory1() const { return *m_directory1; }
    ADir& GetDirectory2() const { return *m_directory2; }
    ADir& GetSnapshot1() const { return *m_snapshot1; }
    ADir& GetSnapshot2() const { return *m_snapshot2; }
    // Puts a side's list and its snapshot (of the same kind) in place of the current ones and hands
    // them the sync's options. A list may be shared: the song sync runs on lists of another sync.
    void SetSideLists(Side side, std::shared_ptr<ADir> list, std::shared_ptr<ADir> snapshot);
    std::shared_ptr<ADir> ShareDirectory(Side side) const {
        return side == kSide1 ? m_directory1 : m_directory2;
    }
    std::shared_ptr<ADir> ShareSnapshot(Side side) const {
        return side == kSide1 ? m_snapshot1 : m_snapshot2;
    }
    // Null restores the headless ones: a presenter that refuses every list, a host nobody cancels.
    void SetPresenter(SyncActionPresenter* presenter);
    void SetHost(SyncHost* host);
    // The status strip of the progress object and of the four lists.
    void SetProgress(ProgressStatusView* status);
    AProgress& GetProgress() const { return *m_progress; }
    const AString& GetList2RootPath() const;

    // Virtual operations, in the order the derived syncs know them by.
    virtual bool PassesFilter(const AString& path);
    // The one order of the walk and of every sort it relies on: below 0, 0, above 0.
    virtual int CompareEntryNames(const AString& a, const AString& b) const;
    virtual bool CompareContents(const AString& a, const AString& b);
    // Alike by size and modification time.
    virtual bool CompareFileInfo(const AString& a, const AString& b);
    virtual bool FileExists(const AString& path);
    virtual bool IsDirectory(const AString& path);
    virtual int CreateDirectory(const AString& path);
    // Seconds since 1904; 0 when unknown.
    virtual uint64_t GetFileDate(const AString& path);
    // True when b is later than a.
    virtual bool IsNewer(const AString& a, const AString& b);
    // Copies a file; `written` receives the path actually written, which verification reads back, or
    // stays empty when the target keeps the copy under no path it can name.
    virtual int CopyEntry(const AString& source, const AString& target, uint32_t targetExists,
                          uint32_t replace, const CancelCallback& cancel, AString& written);
    // A file is deleted for good; a folder only when it is empty.
    virtual int DeleteEntry(const AString& path);
    virtual void GetEntryName(const AString& path, AString& out);
    virtual int CheckBeforeSync(int stage);
    virtual int GetSyncKind() const { return kPlainSyncKind; }
    virtual int BuildList1(const AString* root, const CancelCallback& cancel, bool rebuild, bool lock);
    virtual int BuildList2(const AString* root, const CancelCallback& cancel, bool rebuild, bool lock);
    // Builds Directory 2 on a thread of its own, which reads the host's cancel request.
    virtual int StartListThread(const AString* root, const CancelCallback& cancel, bool rebuild);
    virtual int ScanDuplicates(const CancelCallback& cancel);
    // The whole road; with kPrepareOnly it builds and decides only (see Prepare). 0, 123456 when the
    // user cancelled or did not confirm, or the first failure.
    virtual int Sync(const CancelCallback& cancel, uint32_t flags, bool checkFields);
    // The add-files run of the song sync; -11167 here.
    virtual int Process(const CancelCallback& cancel, uint32_t steps);
    virtual int Save(AFile& stream, uint32_t flag);
    virtual int Load(AFile& stream, uint32_t flag);
    // The text that stands for a path in action texts and log lines.
    virtual AString GetEntryText(const AString& path, int kind, int width, uint32_t noPrefix);
    virtual void ClearActions();
    // Reads both sides again into their snapshots after a two-way sync with deletions.
    virtual int SaveFileLists(const CancelCallback& cancel);
    // 0 when the user confirmed the action list, 123456 when not.
    virtual int ShowActionList();
    // Builds and decides without performing; the actions stay for a later PerformActions.
    virtual int Prepare(const CancelCallback& cancel, uint32_t flags, bool checkFields);
    virtual std::unique_ptr<SyncAction> AddCreateDirAction(const AString& source, const AString& target,
                                                           uint32_t targetExists);
    virtual std::unique_ptr<SyncAction> AddCopyAction(const AString& source, const AString& target,
                                                      uint32_t targetExists);
    virtual std::unique_ptr<SyncAction> AddReplaceAction(const AString& source, const AString& target,
                                                         uint32_t targetExists, uint32_t fieldsOnly);
    virtual std::unique_ptr<SyncAction> AddDeleteDirAction(const AString& path);
    virtual std::unique_ptr<SyncAction> AddDeleteAction(const AString& path);
    virtual std::unique_ptr<SyncAction> AddUndefinedAction(const AString& pathA, const AString& pathB);
    virtual std::unique_ptr<SyncAction> AddNoAction(const AString& pathA, const AString& pathB);

    // Lists, links and finalisation.
    int BuildLists(const CancelCallback& cancel, uint32_t flags);
    int CheckRemote();
    void DisconnectLists();
    // Writes the databases of both lists; the first failure, logged.
    int SaveDatabases();
    void ResetLists();

    // Deciding.
    int CalculateOneWay(ADir& source, ADir& target, const CancelCallback& cancel, bool checkFields);
    int CalculateTwoWay(const CancelCallback& cancel, bool checkFields);
    int DecidePair(const AString& source, const AString& target, uint32_t targetExists, bool checkFields);
    int DecideTwoWay(const AString& pathA, const AString& pathB, bool checkFields);
    int AddDeleteForMissing(const AString& path);

    // Performing.
    // The first failure of the run (kept on through later actions), 123456 for a cancel, or 0.
    int PerformActions(const CancelCallback& cancel);
    // What a run of PerformActions came to: its enabled actions, and how many of them failed.
    struct ActionTally {
        int failed = 0;
        int total = 0;
        ActionTally& operator+=(const ActionTally& other);
    };
    const ActionTally& GetActionTally() const { return m_tally; }
    // How a perform road ends: the result the caller gets and the closing line the user reads.
    struct RunEnd {
        int result;
        AString closing;
    };
    // A cancel stays a cancel and a full volume keeps its code; else a failed finalisation is the
    // result, then failed actions (-15099). `completed` closes a run with nothing failed.
    static RunEnd ConcludeRun(int performResult, const ActionTally& tally, int finalResult,
                              const char* completed);
    int CopyFile(const AString& source, const AString& target, uint32_t targetExists, uint32_t replace,
                 const CancelCallback& cancel);
    // Asks "Delete file?" (unless a kept answer decides) and deletes; `deleted` tells whether it was.
    int DeleteFile(const AString& path, bool* deleted = nullptr);
    bool CompareFiles(const AString& a, const AString& b);

    // The action list.
    int GetActionCount() const { return static_cast<int>(m_actions.size()); }
    // Null outside the list.
    SyncAction* GetAction(int index) const;
    // The order of the action list's columns (0 enabled, 1 Directory 1, 2 action, 3 Directory 2).
    static int CompareActions(const SyncAction& a, const SyncAction& b, int column, bool ascending);
    // Turns one action into another on the user's request; a change that does not fit is ignored.
    void ChangeAction(SyncAction& action, int change);

    // Options.
    uint32_t GetDirection() const { return m_options.direction; }
    void SetDirection(uint32_t direction) { m_options.direction = direction; }
    uint32_t GetDeleteMode() const { return m_options.deleteMode; }
    void SetDeleteMode(uint32_t deleteMode) { m_options.deleteMode = deleteMode; }
    uint32_t GetShowActionList() const { return m_options.showActionList; }
    void SetShowActionList(uint32_t show) { m_options.showActionList = show; }
    uint32_t GetAutoRunSync() const { return m_options.autoRun; }
    void SetAutoRunSync(uint32_t autoRun) { m_options.autoRun = autoRun; }
    uint32_t GetVerifyCopies() const { return m_options.verifyCopies; }
    void SetVerifyCopies(uint32_t verify) { m_options.verifyCopies = verify; }
    uint8_t GetAutoReplaceAll() const { return m_options.autoReplaceAll; }
    void SetAutoReplaceAll(uint8_t autoReplaceAll) { m_options.autoReplaceAll = autoReplaceAll; }
    // The play-data fields (SongKey::Field) a sync compares and copies.
    uint32_t GetSongFields() const;
    void SetSongFields(uint32_t fields);
    const KeptAnswers& GetKeptAnswers() const { return m_options.answers; }
    void SetKeptAnswers(const KeptAnswers& answers) { m_options.answers = answers; }
    uint32_t GetTypeFilterOn() const { return m_options.typeFilterOn; }
    void SetTypeFilterOn(uint32_t on) { m_options.typeFilterOn = on; }
    const AString& GetIncludeTypes() const { return m_options.includeTypes; }
    const AString& GetExcludeTypes() const { return m_options.excludeTypes; }
    uint32_t GetForceReadOnly() const { return m_options.forceReadOnly; }
    uint32_t GetStopOnError() const { return m_options.stopOnError; }
    uint32_t GetVerboseLog() const { return m_options.verboseLog; }
    uint32_t GetListOption() const { return m_options.listOption; }
    // These four also set the word of the same role in each of the four lists.
    void SetStopOnError(uint32_t stop);
    void SetForceReadOnly(uint32_t force);
    void SetVerboseLog(uint32_t verbose);
    void SetListOption(uint32_t option);

    // The lists' type and path filters. A new value goes to all four lists and empties both snapshots,
    // so that the next two-way sync starts without memory of deletions; an equal value changes nothing.
    void SetTypeFilterMode(uint32_t mode);
    void SetTypeIncludeList(const AString& types);
    void SetTypeExcludeList(const AString& types);
    void SetPathFilterMode(uint32_t mode);
    void SetPathIncludeList(const AString& names);
    void SetPathExcludeList(const AString& names);
    uint32_t GetTypeFilterMode() const;
    const AString& GetTypeIncludeList() const;
    const AString& GetTypeExcludeList() const;
    uint32_t GetPathFilterMode() const;
    const AString& GetPathIncludeList() const;
    const AString& GetPathExcludeList() const;
    // The sync's own type lists, handed to the four lists; a busy sync changes nothing.
    int SetTypeList(const AString& types);
    int SetExcludeTypeList(const AString& types);

protected:
    // Whether an entry has a name to pair it by; one without is never paired, replaced or deleted.
    virtual bool IsPairable(const AString& entry) const;
    // The play data of the song at `path` in `list` (a music library list), as a song key; empty when
    // the list keeps none. The library sync reads it from the library.
    virtual AString GetSongKey(ADir& list, const AString& path);
    // Writes the fields of `fields` (SongKey::Field) of the key onto the song at `path` in `list`.
    virtual void UpdateSongInfo(ADir& list, const AString& path, const AString& key, uint32_t fields);
    // The identifier of the device a list reads; empty for folders. kUnknownDeviceId keeps no snapshot.
    virtual AString GetDeviceId(ADir& list);

    // The list whose root the path begins with (Directory 1 first), or null.
    ADir* OwningList(const AString& path) const;
    // The file a path of the action list names: the owning list's full path of it.
    AString ResolveFile(const AString& path) const;
    // The same with the owning list's code: -36 when no list owns the path.
    int ResolveFile(const AString& path, AString& file) const;
    // What the owning list read of the path's file when it was built; false when it kept nothing.
    bool GetListedInfo(const AString& path, FileInfo& info) const;
    bool IsOnSide1(const AString& path) const;
    // The path lies in a plain folder list (or in no list): its entries are files and folders.
    bool IsPlainFolderPath(const AString& path) const;
    void AppendAction(std::unique_ptr<SyncAction> action);
    SyncActionPresenter& Presenter() const { return *m_presenter; }

    // Runs `step` holding the sync's lock, which a running sync, a save or a load holds: -102390 when
    // it is held.
    int WithSyncLock(const std::function<int()>& step);
    // Builds the lists that `flags` name, scans them for duplicates and decides by direction.
    int BuildAndDecide(const CancelCallback& cancel, uint32_t flags, bool checkFields);
    // The texts of the perform road, which the song sync's add-files run words its own way.
    struct PerformTexts {
        const char* performing;
        const char* finalising;
        const char* completed;
    };
    static constexpr PerformTexts kSyncPerformTexts{"Performing sync...", "Performing sync finalization...",
                                                    "Sync completed."};
    // Performs the confirmed actions, writes the databases, finalises a two-way sync and empties and
    // disconnects the lists: the perform result, else the finalisation's.
    int PerformAndFinalise(const CancelCallback& cancel, const PerformTexts& texts);

private:
    int BuildList(Side side, const AString* root, const CancelCallback& cancel, bool rebuild, bool lock);
    void SetSideRoot(Side side, const AString& root);
    void JoinListThread();
    void ApplyOptionsTo(ADir& list) const;
    template <typename Apply> void ForEachList(Apply apply) {
        for (ADir* list : {m_directory1.get(), m_snapshot1.get(), m_directory2.get(), m_snapshot2.get()})
            apply(*list);
    }
    void NoteEntryKind();

    int RunSync(const CancelCallback& cancel, uint32_t flags, bool checkFields);
    int PrepareLocked(const CancelCallback& cancel, uint32_t flags, bool checkFields);
    int CheckRoots();
    int ConfirmActions(const CancelCallback& cancel);
    int FinaliseTwoWay(const CancelCallback& cancel, int databaseResult, const char* finalising);
    void LogAndShow(const AString& text);

    int DecideByDirection(const CancelCallback& cancel, bool checkFields);
    int WalkOneWay(ADir& source, ADir& target, const CancelCallback& cancel, bool checkFields);
    int WalkTwoWay(const CancelCallback& cancel, bool checkFields);
    int DecideOneWayKey(const SyncEntryWalk& walk, ADir& source, ADir& target, bool checkFields);
    int DecideTwoWayKey(const SyncEntryWalk& walk, bool checkFields);
    int DecideOneSided(const AString& path, const AString& otherRoot, const AString& entry,
                       bool inOtherSnapshot);
    // A list's entries in the walk's order. The texts are copies: a list may hand out every entry in one
    // buffer that the next entry overwrites.
    struct WalkList {
        std::vector<AString> texts;
        SyncEntryWalk::Entries entries;
    };
    WalkList SortedEntries(ADir& list, const char* sortingText);
    SyncEntryWalk MakeWalk(std::vector<const SyncEntryWalk::Entries*> lists) const;
    int WalkKeys(SyncEntryWalk& walk, const CancelCallback& cancel,
                 const std::function<int(const SyncEntryWalk&)>& decide);
    void CloseWalk(int result, const char* errorText);
    bool IsConflict(const SyncEntryWalk& walk, std::initializer_list<int> lists);
    int ReportFolderFileClash(const AString& pathA, const AString& pathB);
    void AppendReplaceOrUndefined(const AString& source, const AString& target, uint32_t targetExists);
    void DecideSongFields(const AString& source, const AString& target);
    void DecideSongFieldsTwoWay(const AString& pathA, const AString& pathB);
    SongKey ReadSongKey(const AString& path);
    SongKey MergedSongKey(const AString& pathA, const AString& pathB);
    bool IsLibraryPath(const AString& path) const;
    void ClearSnapshots();
    void DropStaleSnapshots();
    bool KeepsSnapshotOf(ADir& list);
    void KeepSnapshotsOfBuiltLists();
    void MoveFolderDeletionsLast();

    std::unique_ptr<SyncAction> MakeAction(uint32_t code, const AString& source, const AString& target,
                                           uint32_t targetExists, uint32_t fieldsOnly);
    std::unique_ptr<SyncAction> MakePairAction(uint32_t code, uint32_t enabled, uint32_t displayIndex,
                                               const AString& pathA, const AString& pathB);
    void FillActionTexts(SyncAction& action);
    AString WholeText(const AString& path);
    AString FolderText(const AString& path);
    AString MovedToOtherSide(const AString& path, Side from) const;

    int PerformAction(SyncAction& action, const AString& step, double position, double share,
                      const CancelCallback& cancel);
    int PerformCopyOrReplace(SyncAction& action, const AString& step, double share,
                             const CancelCallback& cancel);
    int PerformFieldsUpdate(const SyncAction& action);
    int PerformCreateFolder(const SyncAction& action, const AString& step);
    int PerformDeleteFolder(const SyncAction& action, const AString& step);
    bool ConfirmReplace(const AString& source, const AString& target);
    int VerifyCopy(const AString& source, const AString& written);
    bool Confirm(uint32_t& keptAnswer, const char* question, const AString& path, const AString* target);
    void LogFailure(const AString& text, int code);
    int RefreshSnapshot(ADir& list, ADir& snapshot, const CancelCallback& cancel);

    std::shared_ptr<ADir> m_directory1;
    std::shared_ptr<ADir> m_directory2;
    std::shared_ptr<ADir> m_snapshot1;
    std::shared_ptr<ADir> m_snapshot2;
    SyncOptions m_options;
    // Held by a running sync, a calculation, a save or a load: a second one is refused at once.
    ASemaphore m_optionsLock;
    // Held while the list thread builds Directory 2.
    ASemaphore m_listLock;
    int m_listResult = 0;
    std::thread m_listThread;
    AProgress* m_progress;
    SyncActionPresenter* m_presenter;
    SyncHost* m_host;
    std::vector<std::unique_ptr<SyncAction>> m_actions;
    ActionTally m_tally;
    // Both sides are song lists: entries pair by the text before their id tail.
    bool m_songEntries = false;
};
