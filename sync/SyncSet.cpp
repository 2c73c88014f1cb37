#include "sync/SyncSet.h"

#include "foundation/AFile.h"
#include "foundation/AProgress.h"
#include "foundation/AProgressLite.h"
#include "foundation/AReplacingFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/ErrorTexts.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "foundation/RemoteFileCache.h"
#include "library/itunes/LibraryPlayListName.h"
#include "library/songlists/ADirSong.h"
#include "sync/ASyncLib.h"
#include "sync/ASyncPlayLists.h"
#include "sync/HeadlessActionPresenter.h"
#include "sync/SyncActionPresenter.h"
#include "sync/SyncActionTexts.h"
#include "sync/SyncErrorCodes.h"

#include <algorithm>

namespace {

constexpr int kAddSyncBusy = -1;
// CheckSelection's answer that the first sync runs alone.
constexpr int kRunFirstSyncAlone = 1;
constexpr double kTwoWayPerformShare = 0.9;
constexpr double kTwoWayFinalShare = 0.1;
constexpr uint32_t kBuildBoth = ASync::kBuildList1 | ASync::kBuildList2;
constexpr uint32_t kPrepareBoth = kBuildBoth | ASync::kPrepareOnly;

AProgress& QuietProgress() {
    static AProgressLite quiet;
    return quiet;
}

bool IsSongSync(const ASync& sync) {
    return sync.GetSyncKind() == ASyncLib::kSongSyncKind;
}

// The playlist sync that fits a first sync whose second side is of this type: iTunes playlists against
// an iPod's, or against another computer's library's; none for any other side.
uint32_t PlayListType2For(uint32_t side2Type) {
    return side2Type == ADir::kTypePod || side2Type == ADir::kTypeTunesRemote
               ? ASyncPlayLists::PlayListTypeFor(side2Type)
               : 0;
}

// The names of a song sync's sides, "Library" standing for the whole library when asked.
struct SideNames {
    AString side1;
    AString side2;
};

SideNames NamesOf(const ASyncLib& sync, bool libraryAsEmpty) {
    SideNames names{sync.GetPlayListName(ASync::kSide1), sync.GetPlayListName(ASync::kSide2)};
    if (libraryAsEmpty) {
        const AString library = GetLibraryPlayListName();
        for (AString* name : {&names.side1, &names.side2}) {
            if (name->CompareNoCase(library) == 0)
                *name = AString();
        }
    }
    return names;
}

bool Matches(const SideNames& names, const AString& name1, const AString& name2) {
    return (names.side1.CompareNoCase(name1) == 0 && names.side2.CompareNoCase(name2) == 0) ||
           (names.side1.CompareNoCase(name2) == 0 && names.side2.CompareNoCase(name1) == 0);
}

// A song sync made for a playlist takes each side's removed-files folder from the first sync.
void CopyRemovedFolders(const ASync& from, ASync& to) {
    to.GetDirectory1().SetRemovedFilesFolder(from.GetDirectory1().GetRemovedFilesFolder());
    to.GetSnapshot1().SetRemovedFilesFolder(from.GetSnapshot1().GetRemovedFilesFolder());
    to.GetDirectory2().SetRemovedFilesFolder(from.GetDirectory2().GetRemovedFilesFolder());
    to.GetSnapshot2().SetRemovedFilesFolder(from.GetSnapshot2().GetRemovedFilesFolder());
}

} // namespace

SyncSet::SyncSet(AProgress* progress) : m_progress(progress ? progress : &QuietProgress()) {}

SyncSet::~SyncSet() {
    m_lock.Lock();
    m_lock.Unlock();
}

int SyncSet::WithLock(const std::function<int()>& step, int busy) {
    if (!m_lock.TryLock())
        return busy;
    const int result = step();
    m_lock.Unlock();
    return result;
}

ASync* SyncSet::GetSync(int index) const {
    return index >= 0 && index < GetSyncCount() ? m_syncs[static_cast<size_t>(index)].get() : nullptr;
}

void SyncSet::ApplySeams(ASync& sync) const {
    sync.SetPresenter(m_presenter);
    sync.SetHost(m_host);
    if (m_status)
        sync.SetProgress(m_status);
}

int SyncSet::AddSync(std::unique_ptr<ASync> sync) {
    if (!sync || sync->GetSyncKind() == ASyncPlayLists::kPlayListSyncKind)
        return kErrorNotSupported;
    return WithLock(
        [&] {
            ApplySeams(*sync);
            m_syncs.push_back(std::move(sync));
            MatchPlayListSync();
            return 0;
        },
        kAddSyncBusy);
}

int SyncSet::ReplaceFirstSync(std::unique_ptr<ASync> sync) {
    if (!sync || sync->GetSyncKind() == ASyncPlayLists::kPlayListSyncKind)
        return kErrorNotSupported;
    return WithLock(
        [&] {
            ApplySeams(*sync);
            if (m_syncs.empty())
                m_syncs.push_back(std::move(sync));
            else
                m_syncs.front() = std::move(sync);
            MatchPlayListSync();
            return 0;
        },
        kAddSyncBusy);
}

// The playlist sync belongs to the first sync: it is kept while its types fit that sync's sides (so are
// the playlists chosen), made anew when they do not, and dropped when the sides have no playlists.
void SyncSet::MatchPlayListSync() {
    const ASync* first = m_syncs.empty() ? nullptr : m_syncs.front().get();
    const uint32_t type2 = first ? PlayListType2For(first->GetDirectory2().GetType()) : 0;
    if (type2 == 0) {
        m_playListSync.reset();
        return;
    }
    if (m_playListSync && m_playListSync->GetType1() == ADir::kTypePlayListsTunes &&
        m_playListSync->GetType2() == type2)
        return;
    m_playListSync = std::make_unique<ASyncPlayLists>(ADir::kTypePlayListsTunes, type2, m_progress);
    ApplySeams(*m_playListSync);
}

void SyncSet::RemoveSync(int index) {
    WithLock(
        [&] {
            if (index < 0 || index >= GetSyncCount())
                return 0;
            m_syncs.erase(m_syncs.begin() + index);
            if (index == 0)
                MatchPlayListSync();
            return 0;
        },
        0);
}

void SyncSet::SetPresenter(SyncActionPresenter* presenter) {
    m_presenter = presenter;
    ForEachSync([presenter](ASync& sync) { sync.SetPresenter(presenter); }, true);
}

void SyncSet::SetHost(SyncHost* host) {
    m_host = host;
    ForEachSync([host](ASync& sync) { sync.SetHost(host); }, true);
}

int SyncSet::SetProgress(uint32_t word, ProgressStatusView* status) {
    m_progressWord = word;
    m_status = status;
    ForEachSync([status](ASync& sync) { sync.SetProgress(status); }, true);
    return 0;
}

void SyncSet::ForEachSync(const std::function<void(ASync&)>& apply, bool withPlayListSync) {
    if (withPlayListSync && m_playListSync)
        apply(*m_playListSync);
    for (const auto& sync : m_syncs)
        apply(*sync);
}

// ---- The ".sync" file ----

int SyncSet::Save(const AString& path) {
    return WithLock(
        [&] {
            AReplacingFile file;
            if (const int result = file.Begin(path, false))
                return result;
            const int result = WriteLocked(file);
            if (result != 0) {
                file.Abandon();
                return result;
            }
            return file.Commit();
        },
        kErrorBusy);
}

int SyncSet::Load(const AString& path) {
    AFile file;
    if (const int result = file.Open(path, AFile::kModeRead, false))
        return result;
    const int result = Read(file);
    file.Close(false);
    if (result != 0 && result != kErrorBusy) {
        AString badFile = path;
        badFile += kBadFileSuffix;
        const int kept = CopyFileLong(path, badFile, false);
        m_progress->LogError(result, AString("The sync set could not be read and is kept as "),
                             kept == 0 ? badFile : AString("nothing (it could not be copied)"));
    }
    return result;
}

int SyncSet::Write(AFile& stream) {
    return WithLock([&] { return WriteLocked(stream); }, kErrorBusy);
}

int SyncSet::WriteLocked(AFile& stream) {
    using namespace recordio;
    if (const int result = WriteU32(stream, kFileVersion))
        return result;
    if (const int result = WriteU32(stream, static_cast<uint32_t>(m_syncs.size())))
        return result;
    if (const int result = m_name.Serialize(stream))
        return result;
    if (const int result = WriteU32(stream, m_playListSync ? kPlayListMarker : 0))
        return result;
    if (m_playListSync) {
        if (const int result = m_playListSync->Save(stream, 0))
            return result;
    }
    for (const auto& sync : m_syncs) {
        const auto kind = static_cast<uint32_t>(sync->GetSyncKind());
        if (const int result = WriteU32(stream, kind))
            return result;
        if (kind != ASync::kPlainSyncKind) {
            for (const uint32_t type : {sync->GetDirectory1().GetType(), sync->GetDirectory2().GetType()}) {
                if (const int result = WriteU32(stream, type))
                    return result;
            }
        }
        if (const int result = sync->Save(stream, 0))
            return result;
    }
    return 0;
}

int SyncSet::Read(AFile& stream) {
    return WithLock(
        [&] {
            m_syncs.clear();
            const int result = ReadLocked(stream);
            RetypePlayListSync();
            return result;
        },
        kErrorBusy);
}

int SyncSet::ReadLocked(AFile& stream) {
    using namespace recordio;
    if (const int result = ReadVersion(stream, kFileVersion))
        return result;
    uint32_t count = 0;
    if (const int result = ReadU32(stream, count))
        return result;
    if (count > kMaxSyncs)
        return kErrorInconsistentSize;
    if (const int result = m_name.Load(stream))
        return result;
    uint32_t marker = 0;
    if (const int result = ReadU32(stream, marker))
        return result;
    if (marker != 0) {
        if (!m_playListSync) {
            m_playListSync = std::make_unique<ASyncPlayLists>(ADir::kTypePlayListsTunes,
                                                              ADir::kTypePlayListsPod, m_progress);
            ApplySeams(*m_playListSync);
        }
        if (const int result = m_playListSync->Load(stream, 0))
            return result;
    }
    for (uint32_t i = 0; i < count; ++i) {
        if (const int result = ReadSync(stream))
            return result;
    }
    return 0;
}

int SyncSet::ReadSync(AFile& stream) {
    using namespace recordio;
    uint32_t kind = 0;
    if (const int result = ReadU32(stream, kind))
        return result;
    std::unique_ptr<ASync> sync;
    if (kind == ASync::kPlainSyncKind) {
        sync = std::make_unique<ASync>(m_progress);
    } else {
        uint32_t type1 = 0;
        uint32_t type2 = 0;
        if (const int result = ReadU32(stream, type1))
            return result;
        if (const int result = ReadU32(stream, type2))
            return result;
        auto songSync = std::make_unique<ASyncLib>(ADir::kTypeDir, ADir::kTypeDir, m_progress);
        if (songSync->InitSongTypes(type1, type2) != 0)
            return kErrorIO;
        sync = std::move(songSync);
    }
    ApplySeams(*sync);
    if (const int result = sync->Load(stream, 0))
        return result;
    m_syncs.push_back(std::move(sync));
    return 0;
}

// A file read back names its playlist sync's kind by the first sync's second side: another computer's
// library is never shown through the list of an iPod.
void SyncSet::RetypePlayListSync() {
    if (!m_playListSync || m_syncs.empty())
        return;
    const uint32_t type2 = PlayListType2For(m_syncs.front()->GetDirectory2().GetType());
    if (type2 != 0)
        m_playListSync->CreateLists(ADir::kTypePlayListsTunes, type2);
}

// ---- The playlist selection ----

int SyncSet::AttachPlayListSync() {
    return WithLock([this] { return AttachLocked(); }, kErrorBusy);
}

int SyncSet::AttachLocked() {
    if (!m_playListSync || m_syncs.empty() || !IsSongSync(*m_syncs.front()))
        return kErrorNotSupported;
    auto* side1 = dynamic_cast<ADirSong*>(&m_syncs.front()->GetDirectory1());
    auto* side2 = dynamic_cast<ADirSong*>(&m_syncs.front()->GetDirectory2());
    if (!side1 || !side2)
        return kErrorNotSupported;
    return m_playListSync->AttachSources(side1, side2);
}

PlayListSyncRecordList* SyncSet::GetPlayListRecords() {
    return m_playListSync ? &m_playListSync->GetRecords() : nullptr;
}

// ---- Running ----

int SyncSet::RunSync(const CancelCallback& cancel, int index, bool checkFields) {
    RemoteFileCache::Instance().Clear();
    return WithLock([&] { return RunSyncLocked(cancel, index, checkFields); }, kErrorBusy);
}

int SyncSet::RunSyncLocked(const CancelCallback& cancel, int index, bool checkFields) {
    ASync* sync = GetSync(index);
    if (!sync)
        return kErrorNoSyncAtIndex;
    if (sync->GetDirection() == kDirectionSkipped)
        return 0;
    return sync->Sync(cancel, kBuildBoth, checkFields);
}

int SyncSet::Run(const CancelCallback& cancel) {
    return WithLock([&] { return RunLocked(cancel); }, kErrorBusy);
}

bool SyncSet::IsPlayListSyncReady() const {
    if (!m_playListSync || m_syncs.empty() || !IsSongSync(*m_syncs.front()))
        return false;
    const auto& first = static_cast<const ASyncLib&>(*m_syncs.front());
    return !first.GetPlayListName(ASync::kSide1).IsEmpty() && !first.GetPlayListName(ASync::kSide2).IsEmpty();
}

int SyncSet::RunLocked(const CancelCallback& cancel) {
    RemoteFileCache::Instance().Clear();
    if (!IsPlayListSyncReady())
        return RunSyncLocked(cancel, 0, true);
    const int result = RunPlayListsLocked(cancel);
    // However the run ended, no list stays connected: another computer's session would stay open.
    DisconnectAll();
    return result;
}

int SyncSet::RunPlayListsLocked(const CancelCallback& cancel) {
    m_progress->Log("Doing Playlist Sync\r\n");
    if (const int result = AttachLocked())
        return result;
    if (const int result = CheckSelection())
        return result == kRunFirstSyncAlone ? RunSyncLocked(cancel, 0, true) : result;
    const ASync& first = *m_syncs.front();
    m_playListSync->SetDirection(first.GetDirection());
    m_playListSync->SetDeleteMode(first.GetDeleteMode());
    if (const int result = m_playListSync->Sync(cancel, kBuildBoth, false))
        return result;
    if (m_playListSync->GetActionCount() <= 1)
        return RunSyncLocked(cancel, 0, true);
    if (const int result = BuildPlayListSyncs())
        return result;
    if (cancel && cancel())
        return kUserCancel;
    if (const int result = PrepareSongSyncs(cancel))
        return result;
    if (!AnySyncHasActions()) {
        const AString cleaning("Cleaning up Syncs");
        m_progress->SetPos(-1.0, &cleaning);
        DisconnectAll();
        m_progress->Message(AString("Nothing to Sync!"), true);
        ForEachSync([](ASync& sync) { sync.ResetLists(); }, true);
        return 0;
    }
    if (const int refused = ShowPlayListActionList()) {
        const AString cancelled("User cancelled.");
        m_progress->SetPos(-1.0, &cancelled, &cancelled, &cancelled, m_syncs.front()->GetVerboseLog() != 0);
        DisconnectAll();
        return refused;
    }
    return PerformRun(cancel);
}

// No playlist chosen runs the first sync alone; playlists whose names differ only in letter case run it
// alone only when the user agrees.
int SyncSet::CheckSelection() {
    const PlayListSyncRecordList& records = m_playListSync->GetRecords();
    int selected = 0;
    AString repeated;
    for (int i = 0; i < records.GetCount(); ++i) {
        const PlayListSyncRecord& record = records.GetRecord(i);
        selected += record.selected ? 1 : 0;
        if (i > 0 && record.name.CompareNoCase(records.GetRecord(i - 1).name) == 0)
            repeated = record.name;
    }
    if (selected == 0)
        return kRunFirstSyncAlone;
    if (repeated.IsEmpty())
        return 0;
    const AString question = AString("There is more than one playlist with the name \"") + repeated +
                             "\".\r\nPlaylists must have unique names for their synchronization to take "
                             "place.\r\nProceed to synchronize main library only?";
    return AProgress::AskYesNo(question) == AProgress::kAnswerYes ? kRunFirstSyncAlone : kErrorDuplicateNames;
}

// Action j's song sync becomes sync j. The main library's action (always the first) keeps the user's
// first sync; a playlist reuses a sync already made for its two names, else gets a new one.
int SyncSet::BuildPlayListSyncs() {
    std::vector<std::unique_ptr<ASync>> current = std::move(m_syncs);
    m_syncs.clear();
    const int count = m_playListSync->GetActionCount();
    const AString collecting("Collecting information...");
    m_progress->Start(&collecting, true, true);
    int result = 0;
    for (int j = 0; j < count && result == 0; ++j) {
        m_progress->PushRange(1.0 / count);
        PlayListSyncAction& action = *m_playListSync->GetPlayListAction(j);
        std::unique_ptr<ASync> songSync;
        if (j == 0) {
            songSync = std::move(current.front());
        } else {
            int found = FindSyncForPlayList(action, current, false);
            if (found < 0)
                found = FindSyncForPlayList(action, current, true);
            songSync = found >= 0 ? ReuseSync(std::move(current[static_cast<size_t>(found)]))
                                  : MakeSongSync(action, result);
        }
        m_progress->PopRange();
        if (!songSync)
            break;
        action.songSync = songSync.get();
        m_syncs.push_back(std::move(songSync));
    }
    m_progress->Finish();
    // A run that cannot make its syncs loses none of the user's.
    if (result != 0) {
        for (auto& sync : current) {
            if (sync)
                m_syncs.push_back(std::move(sync));
        }
    }
    return result;
}

int SyncSet::FindSyncForPlayList(const PlayListSyncAction& action,
                                 const std::vector<std::unique_ptr<ASync>>& syncs,
                                 bool libraryAsEmpty) const {
    for (size_t i = 0; i < syncs.size(); ++i) {
        if (!syncs[i] || !IsSongSync(*syncs[i]))
            continue;
        if (Matches(NamesOf(static_cast<const ASyncLib&>(*syncs[i]), libraryAsEmpty), action.name1,
                    action.name2))
            return static_cast<int>(i);
    }
    return -1;
}

// A sync kept from an earlier run takes the first sync's options and list settings, and keeps the
// playlists it is limited to.
std::unique_ptr<ASync> SyncSet::ReuseSync(std::unique_ptr<ASync> sync) const {
    auto& songSync = static_cast<ASyncLib&>(*sync);
    const auto& first = static_cast<const ASyncLib&>(*m_syncs.front());
    AString names[4];
    ADir* lists[4] = {&songSync.GetDirectory1(), &songSync.GetSnapshot1(), &songSync.GetDirectory2(),
                      &songSync.GetSnapshot2()};
    for (int i = 0; i < 4; ++i)
        lists[i]->GetPlayListName(names[i]);
    songSync.CopySyncOptions(first, true);
    for (int i = 0; i < 4; ++i)
        lists[i]->SetPlayListName(names[i]);
    CopyRemovedFolders(first, songSync);
    return sync;
}

// Each side is limited to the playlist under that side's own spelling of its name.
std::unique_ptr<ASync> SyncSet::MakeSongSync(const PlayListSyncAction& action, int& result) const {
    const auto& first = static_cast<const ASyncLib&>(*m_syncs.front());
    auto sync = std::make_unique<ASyncLib>(ADir::kTypeDir, ADir::kTypeDir, m_progress);
    result = sync->InitSongTypes(first.GetDirectory1().GetType(), first.GetDirectory2().GetType());
    if (result != 0)
        return nullptr;
    ApplySeams(*sync);
    sync->CopySyncOptions(first, true);
    const AString root1 = first.GetDirectory1().GetRootPath();
    const AString root2 = first.GetDirectory2().GetRootPath();
    sync->BuildList1(&root1, CancelCallback(), false, false);
    sync->BuildList2(&root2, CancelCallback(), false, false);
    sync->SetPlayListName1(action.name1);
    sync->SetPlayListName2(action.name2);
    CopyRemovedFolders(first, *sync);
    return sync;
}

// Builds and decides every song sync without performing. The first sync's failure ends the run; the
// others' is kept in their actions. A playlist that this run makes has no songs yet on its new side:
// that side is not read (it would not be found) but counts as empty, and with no memory of an earlier
// state nothing is deleted against it.
int SyncSet::PrepareSongSyncs(const CancelCallback& cancel) {
    const AString initializing("Initializing sync...");
    m_progress->Start(&initializing, true, true);
    const int count = GetSyncCount();
    for (int i = 0; i < count; ++i) {
        if (cancel && cancel())
            return StopRun();
        m_progress->PushRange(1.0 / count);
        const int result = PrepareSongSync(i, cancel);
        m_progress->PopRange();
        m_playListSync->GetPlayListAction(i)->result = result;
        if (i == 0 && result != 0) {
            AString closing = AString("Error: ") + AString::FromInt(result);
            GetErrorText(closing, result);
            m_progress->Finish(&closing, true, true);
            DisconnectAll();
            return result;
        }
    }
    m_progress->Finish();
    return 0;
}

int SyncSet::PrepareSongSync(int index, const CancelCallback& cancel) {
    ASync& sync = *m_syncs[static_cast<size_t>(index)];
    uint32_t flags = kPrepareBoth;
    if (const int created = m_playListSync->CreatedSide(index)) {
        (created == ASync::kSide1 ? sync.GetDirectory1() : sync.GetDirectory2()).Clear();
        sync.GetSnapshot1().Clear();
        sync.GetSnapshot2().Clear();
        flags &= ~(created == ASync::kSide1 ? ASync::kBuildList1 : ASync::kBuildList2);
    }
    return sync.Sync(cancel, flags, index == 0);
}

int SyncSet::StopRun() {
    const AString stopped("User Cancelled");
    m_progress->Finish(&stopped, true, true);
    DisconnectAll();
    return kUserCancel;
}

bool SyncSet::AnySyncHasActions() const {
    return std::any_of(m_syncs.begin(), m_syncs.end(),
                       [](const auto& sync) { return sync->GetActionCount() > 0; });
}

void SyncSet::DisconnectAll() {
    ForEachSync([](ASync& sync) { sync.DisconnectLists(); }, true);
}

int SyncSet::ShowPlayListActionList() {
    if (!m_syncs.front()->GetShowActionList())
        return 0;
    const AString preparing("Preparing action list...");
    m_progress->SetPos(-1.0, &preparing, &preparing);
    const bool remote = m_syncs.front()->GetDirectory2().GetType() == ADir::kTypeTunesRemote;
    const SyncActionTexts texts =
        SyncActionTexts::ForSides(AString("iTunes"), AString(remote ? "Remote iTunes" : "iPod"), false);
    std::vector<ASync*> songSyncs;
    for (const auto& sync : m_syncs)
        songSyncs.push_back(sync.get());
    SyncActionPresenter& presenter = m_presenter ? *m_presenter : HeadlessActionPresenter::Refusing();
    return presenter.ConfirmPlayListActions(*m_playListSync, songSyncs, texts) ? 0 : kUserCancel;
}

int SyncSet::PerformRun(const CancelCallback& cancel) {
    const ASync& first = *m_syncs.front();
    const bool twoWay = first.GetDirection() == kDirectionBoth;
    const AString performing("Performing sync...");
    m_progress->Start(&performing, true, true);
    const auto clearAddState = [this] {
        for (const auto& sync : m_syncs)
            static_cast<ASyncLib&>(*sync).ClearAddState(0);
    };
    clearAddState();
    m_progress->PushRange(twoWay ? kTwoWayPerformShare : 1.0);
    const int result = PerformPlayListActions(cancel);
    m_progress->PopRange();
    clearAddState();
    ForEachSync([](ASync& sync) { sync.ClearActions(); }, true);
    const int finalResult = Finalise(cancel, twoWay);
    const AString cleaning("Cleaning up Syncs");
    m_progress->SetPos(-1.0, &cleaning);
    DisconnectAll();
    ForEachSync([](ASync& sync) { sync.ResetLists(); }, true);
    const ASync::RunEnd end = ASync::ConcludeRun(result, m_tally, finalResult, "Sync Completed.");
    m_progress->Finish(&end.closing, true, true);
    return end.result;
}

// The databases are written before the snapshots are taken: a side whose database could not be written
// does not stand as its snapshot would say, so its snapshots stay as they were.
int SyncSet::Finalise(const CancelCallback& cancel, bool twoWay) {
    int result = 0;
    ForEachSync(
        [&result](ASync& sync) {
            const int saved = sync.SaveDatabases();
            if (result == 0)
                result = saved;
        },
        true);
    if (!twoWay || result != 0)
        return result;
    const AString finalising("Performing sync finalization...");
    m_progress->PushRange(kTwoWayFinalShare, &finalising, false, true);
    result = SaveFileLists(cancel);
    m_progress->PopRange();
    return result;
}

// Every playlist action, then its songs. "Yes to All" and "No to All" carry from one playlist's songs
// to the next. A run that goes on after a failure still ends with the first failure.
int SyncSet::PerformPlayListActions(const CancelCallback& cancel) {
    const int count = m_playListSync->GetActionCount();
    const bool askAfterError = m_syncs.front()->GetDirectory1().GetAskOnError() != 0;
    const KeptAnswers* carried = nullptr;
    int first = 0;
    m_tally = {};
    for (int i = 0; i < count; ++i) {
        m_progress->PushRange(1.0 / count);
        PlayListSyncAction& action = *m_playListSync->GetPlayListAction(i);
        int result = m_playListSync->PerformPlayListAction(i, cancel);
        CountPlayListStep(action, result);
        if (result == 0 && action.enabled && action.songSync) {
            if (carried)
                action.songSync->SetKeptAnswers(*carried);
            result = PerformSongSync(action, cancel);
            carried = &action.songSync->GetKeptAnswers();
        }
        m_progress->PopRange();
        if (first == 0)
            first = result;
        if (result == kErrorNoSpace || result == kUserCancel)
            break;
        if (result != 0 && askAfterError &&
            AProgress::AskYesNo(AString("Error occured! Quit operation?")) == AProgress::kAnswerYes)
            break;
        if (cancel && cancel()) {
            if (first == 0)
                first = kUserCancel;
            break;
        }
    }
    return first;
}

// A song sync that could not be prepared is not performed, and its failure counts; but a playlist that
// is to be deleted lacks its songs on the other side by nature.
int SyncSet::PerformSongSync(const PlayListSyncAction& action, const CancelCallback& cancel) {
    if (action.result != 0) {
        if (action.code == kActionDelete)
            return 0;
        m_tally += {1, 1};
        m_progress->LogError(action.result, AString("The songs of a playlist were not synced: "),
                             action.name1);
        return action.result;
    }
    const int result = action.songSync->PerformActions(cancel);
    m_tally += action.songSync->GetActionTally();
    return result;
}

// Making or deleting a playlist is an action of the run too; a deletion's failure is logged where it
// happens.
void SyncSet::CountPlayListStep(const PlayListSyncAction& action, int result) {
    if (!action.enabled || (action.code != kActionCopy && action.code != kActionDelete))
        return;
    const bool failed = result != 0 && result != kUserCancel;
    m_tally += {failed ? 1 : 0, 1};
    if (failed && action.code == kActionCopy)
        m_progress->LogError(result, AString("Failed creating the playlist "), action.name1);
}

int SyncSet::SaveFileLists(const CancelCallback& cancel) {
    int first = m_playListSync->SaveFileLists(cancel);
    const int count = GetSyncCount();
    for (const auto& sync : m_syncs) {
        m_progress->PushRange(1.0 / count);
        const int result = sync->SaveFileLists(cancel);
        m_progress->PopRange();
        if (first == 0)
            first = result;
    }
    return first;
}
