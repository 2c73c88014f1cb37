#pragma once
// A sync set: the syncs that the user runs as one unit for a device, in order, with at most one
// playlist sync over the playlists of the first sync's two sides, saved as a ".sync" file. Its run
// either runs the first sync alone or, with playlists chosen, turns every playlist action into a song
// sync limited to that playlist and performs playlists and songs under one confirmation.
//
// Every operation takes the set's lock with a try: while a run holds it, saving, reading and changing
// the set are refused at once.

#include "foundation/ASemaphore.h"
#include "foundation/AString.h"
#include "foundation/CancelCallback.h"
#include "sync/ASync.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class AFile;
class AProgress;
class ASyncPlayLists;
class PlayListSyncRecordList;
class ProgressStatusView;
class SyncActionPresenter;
class SyncHost;
struct PlayListSyncAction;

class SyncSet {
public:
    static constexpr uint32_t kFileVersion = 0x00100004;
    static constexpr uint32_t kPlayListMarker = 0xFFFFFFFF;
    // More syncs than this in a file is no set a user made.
    static constexpr uint32_t kMaxSyncs = 10000;
    // A file that could not be read is kept beside itself under this suffix.
    static constexpr const char* kBadFileSuffix = ".bad";

    // Without a progress object the set and its syncs report to a quiet one.
    explicit SyncSet(AProgress* progress = nullptr);
    SyncSet(const SyncSet&) = delete;
    SyncSet& operator=(const SyncSet&) = delete;
    // Waits until a run has ended.
    ~SyncSet();

    int GetSyncCount() const { return static_cast<int>(m_syncs.size()); }
    // Null outside the list.
    ASync* GetSync(int index) const;
    ASyncPlayLists* GetPlayListSync() const { return m_playListSync.get(); }
    const AString& GetName() const { return m_name; }
    void SetName(const AString& name) { m_name = name; }

    // Appends a plain or song sync: 0, -1 when busy, -11167 for a playlist sync. The playlist sync
    // follows the first sync's second side: an iPod's or another computer's library has one.
    int AddSync(std::unique_ptr<ASync> sync);
    // Puts the sync in place of the first one, or appends it to an empty set; otherwise as AddSync.
    int ReplaceFirstSync(std::unique_ptr<ASync> sync);
    // Nothing while busy or outside the list.
    void RemoveSync(int index);
    // Handed to every sync of the set, now and later; null restores the headless ones.
    void SetPresenter(SyncActionPresenter* presenter);
    void SetHost(SyncHost* host);
    int SetProgress(uint32_t word, ProgressStatusView* status);
    uint32_t GetProgressWord() const { return m_progressWord; }

    // Writes the set over the file through a new file beside it: an old set stays whole until the new
    // one is.
    int Save(const AString& path);
    // Reads the set; a file that is there but cannot be read is first kept as "<path>.bad".
    int Load(const AString& path);
    // -102390 when busy; else until the first failing write.
    int Write(AFile& stream);
    // -102390 when busy. The syncs go first; -102389 for another version word, -102392 for a count
    // above kMaxSyncs, -36 for a sync that cannot be made; else until the first failure, the syncs read
    // before it kept.
    int Read(AFile& stream);

    // Hands the first sync's sides to the playlist sync and merges its records: -102390 when busy,
    // -11167 without a playlist sync or a first song sync with two song sides.
    int AttachPlayListSync();
    // Null without a playlist sync.
    PlayListSyncRecordList* GetPlayListRecords();

    // One sync of the set alone: -15092 outside the list, -102390 when busy.
    int RunSync(const CancelCallback& cancel, int index, bool checkFields);
    // The set's road: 0, 123456 when cancelled or not confirmed, or the first failure.
    int Run(const CancelCallback& cancel);

private:
    // Runs `step` holding the set's lock; `busy` when it is held.
    int WithLock(const std::function<int()>& step, int busy);
    void ApplySeams(ASync& sync) const;
    void MatchPlayListSync();
    void RetypePlayListSync();
    int WriteLocked(AFile& stream);
    int ReadLocked(AFile& stream);
    int ReadSync(AFile& stream);
    int AttachLocked();
    int RunSyncLocked(const CancelCallback& cancel, int index, bool checkFields);

    int RunLocked(const CancelCallback& cancel);
    int RunPlayListsLocked(const CancelCallback& cancel);
    bool IsPlayListSyncReady() const;
    int CheckSelection();
    int BuildPlayListSyncs();
    int FindSyncForPlayList(const PlayListSyncAction& action,
                            const std::vector<std::unique_ptr<ASync>>& syncs, bool libraryAsEmpty) const;
    std::unique_ptr<ASync> ReuseSync(std::unique_ptr<ASync> sync) const;
    std::unique_ptr<ASync> MakeSongSync(const PlayListSyncAction& action, int& result) const;
    int PrepareSongSyncs(const CancelCallback& cancel);
    int PrepareSongSync(int index, const CancelCallback& cancel);
    bool AnySyncHasActions() const;
    int ShowPlayListActionList();
    int PerformRun(const CancelCallback& cancel);
    int PerformPlayListActions(const CancelCallback& cancel);
    int PerformSongSync(const PlayListSyncAction& action, const CancelCallback& cancel);
    void CountPlayListStep(const PlayListSyncAction& action, int result);
    // Writes every database, then (both ways) the snapshots: the first failure.
    int Finalise(const CancelCallback& cancel, bool twoWay);
    int SaveFileLists(const CancelCallback& cancel);
    void ForEachSync(const std::function<void(ASync&)>& apply, bool withPlayListSync);
    void DisconnectAll();
    int StopRun();

    std::vector<std::unique_ptr<ASync>> m_syncs;
    AString m_name;
    ASemaphore m_lock;
    uint32_t m_progressWord = 0;
    AProgress* m_progress;
    ProgressStatusView* m_status = nullptr;
    SyncActionPresenter* m_presenter = nullptr;
    SyncHost* m_host = nullptr;
    std::unique_ptr<ASyncPlayLists> m_playListSync;
    // The actions of the run being performed, and how many failed.
    ASync::ActionTally m_tally;
};
