#include "sync/ASync.h"

#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "foundation/AProgress.h"
#include "foundation/AProgressLite.h"
#include "foundation/CopyWithProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/ErrorTexts.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "foundation/RemoteFileCache.h"
#include "library/entries/EntryText.h"
#include "library/songlists/ADirSong.h"
#include "sync/HeadlessActionPresenter.h"
#include "sync/HeadlessSyncHost.h"
#include "sync/SongKey.h"
#include "sync/SyncActionPresenter.h"
#include "sync/SyncActionTexts.h"
#include "sync/SyncHost.h"

#include <algorithm>
#include <system_error>
#include <unistd.h>

namespace {

constexpr char16_t kPathSeparator = u'/';
constexpr size_t kCompareChunkSize = 65536;
// Copying a whole list through memory: grow in large steps, not a few kilobytes at a time.
constexpr uint32_t kListCopyGrowth = 1 << 20;
// The status line of a walk changes at most this many times.
constexpr int kWalkProgressSteps = 1000;
constexpr double kTwoWayPerformShare = 0.9;
constexpr double kTwoWayFinalShare = 0.1;
constexpr double kSnapshotShare = 0.5;

// The option byte that lets a sync compare and copy each play-data field.
constexpr std::pair<uint8_t SyncOptions::*, SongKey::Field> kSongFieldOptions[] = {
    {&SyncOptions::syncComments, SongKey::kComment},      {&SyncOptions::syncPlaycounts, SongKey::kPlayCount},
    {&SyncOptions::syncRatings, SongKey::kRating},        {&SyncOptions::syncEQ, SongKey::kEqualizer},
    {&SyncOptions::syncLastPlayed, SongKey::kLastPlayed},
};

// The play data that decides whether songs alike as files still differ; comments and the last-played
// time travel with them but do not decide.
constexpr uint32_t kComparedSongFields = SongKey::kPlayCount | SongKey::kRating | SongKey::kEqualizer;

AProgress& QuietProgress() {
    static AProgressLite quiet;
    return quiet;
}

bool IsLibraryList(const ADir& list) {
    return list.GetType() == ADir::kTypeTunes || list.GetType() == ADir::kTypeTunesRemote;
}

// A song folder names the file of an entry by the number behind its '?': exact, and no search.
uint32_t ByIndex(const ADir& list) {
    return list.GetType() == ADir::kTypeSongDir ? 1 : 0;
}

bool IsRemoteList(const ADir& list) {
    return list.GetType() == ADir::kTypeTunesRemote;
}

bool BeginsWith(const AString& text, const AString& prefix) {
    return text.GetCString().starts_with(prefix.GetCString());
}

// Equal roots, or one inside the other: a sync would copy a side into itself.
bool RootsOverlap(const AString& root1, const AString& root2) {
    if (root1.IsEmpty() || root2.IsEmpty())
        return false;
    return BeginsWith(root1, root2) || BeginsWith(root2, root1);
}

AString JoinPath(const AString& root, const AString& entry) {
    AString path = root;
    path.AppendPath(entry);
    return path;
}

AString ExtensionOf(const AString& path) {
    AString extension;
    path.GetExtension(extension);
    return extension;
}

int FolderDepth(const AString& path) {
    return static_cast<int>(std::count(path.GetCString().begin(), path.GetCString().end(), kPathSeparator));
}

AString WithErrorText(AString text, int code) {
    text += code;
    return GetErrorText(text, code);
}

// What the other computer said of a file just written or deleted there no longer holds.
void ForgetRemoteInfo(const AString& path) {
    if (IsRemotePath(path))
        RemoteFileCache::Instance().Remove(path);
}

// A folder is removed only when it is empty: its files are actions of their own.
int RemoveEmptyFolder(const AString& path) {
    return ::rmdir(path.ToSystem8Bit().c_str()) == 0 ? 0 : kErrorUnableToDelete;
}

// The even display index of each code's pair; the odd one acts towards, or deletes from, Directory 2.
uint32_t PairStart(uint32_t code) {
    return (code - kActionCopy) * 2;
}

bool ActsTowardsTarget(uint32_t code) {
    return code == kActionCopy || code == kActionReplace || code == kActionCreateFolder;
}

} // namespace

// ---- Construction, lists and seams ----

ASync::ASync(AProgress* progress)
    : m_directory1(std::make_unique<ADir>(progress)), m_directory2(std::make_unique<ADir>(progress)),
      m_snapshot1(std::make_unique<ADir>(progress)), m_snapshot2(std::make_unique<ADir>(progress)),
      m_progress(progress ? progress : &QuietProgress()), m_presenter(&HeadlessActionPresenter::Refusing()),
      m_host(&HeadlessSyncHost::Default()) {
    ForEachList([this](ADir& list) { ApplyOptionsTo(list); });
    NoteEntryKind();
}

ASync::~ASync() {
    JoinListThread();
    m_optionsLock.Lock();
    m_optionsLock.Unlock();
    ClearActions();
}

void ASync::ApplyOptionsTo(ADir& list) const {
    list.SetRecordFlag(m_options.listOption);
    list.SetAskOnError(m_options.stopOnError);
    list.SetCopyMode(m_options.forceReadOnly);
    list.SetLogTime(m_options.verboseLog);
}

void ASync::SetSideLists(Side side, std::shared_ptr<ADir> list, std::shared_ptr<ADir> snapshot) {
    ApplyOptionsTo(*list);
    ApplyOptionsTo(*snapshot);
    (side == kSide1 ? m_directory1 : m_directory2) = std::move(list);
    (side == kSide1 ? m_snapshot1 : m_snapshot2) = std::move(snapshot);
    NoteEntryKind();
}

void ASync::SetPresenter(SyncActionPresenter* presenter) {
    m_presenter = presenter ? presenter : &HeadlessActionPresenter::Refusing();
}

void ASync::SetHost(SyncHost* host) {
    m_host = host ? host : &HeadlessSyncHost::Default();
}

void ASync::SetProgress(ProgressStatusView* status) {
    m_progress->SetStatus(status);
    ForEachList([status](ADir& list) { list.SetProgressCallback(status); });
}

const AString& ASync::GetList2RootPath() const {
    return m_directory2->GetRootPath();
}

ADir* ASync::OwningList(const AString& path) const {
    for (ADir* list : {m_directory1.get(), m_directory2.get()}) {
        if (!list->GetRootPath().IsEmpty() && BeginsWith(path, list->GetRootPath()))
            return list;
    }
    return nullptr;
}

AString ASync::ResolveFile(const AString& path) const {
    AString file;
    return ResolveFile(path, file) == 0 ? file : path;
}

int ASync::ResolveFile(const AString& path, AString& file) const {
    ADir* list = OwningList(path);
    return list ? list->GetFullPath(path, file, ByIndex(*list)) : kErrorIO;
}

bool ASync::IsOnSide1(const AString& path) const {
    return BeginsWith(path, m_directory1->GetRootPath());
}

// Song lists pair their entries by the text before the id tail; plain folders by the whole path.
void ASync::NoteEntryKind() {
    m_songEntries = dynamic_cast<const ADirSong*>(m_directory1.get()) &&
                    dynamic_cast<const ADirSong*>(m_directory2.get());
}

// ---- File operations of the base sync: plain folders, or song lists through their owning list ----

bool ASync::PassesFilter(const AString& path) {
    if (m_options.typeFilterOn == 0)
        return true;
    const AString extension = ExtensionOf(ResolveFile(path));
    if (!m_options.includeTypes.IsEmpty() &&
        (extension.IsEmpty() || m_options.includeTypes.Find(extension, 0, false) < 0))
        return false;
    return m_options.excludeTypes.IsEmpty() || extension.IsEmpty() ||
           m_options.excludeTypes.Find(extension, 0, false) < 0;
}

int ASync::CompareEntryNames(const AString& a, const AString& b) const {
    const int order = m_songEntries ? CompareEntryKeys(a, b) : a.CompareNoCase(b);
    return (order > 0) - (order < 0);
}

bool ASync::CompareContents(const AString& a, const AString& b) {
    return CompareFiles(ResolveFile(a), ResolveFile(b));
}

// What the lists read of both files when they were built, so that deciding asks no file again; a
// list that kept nothing has its file asked.
bool ASync::CompareFileInfo(const AString& a, const AString& b) {
    FileInfo infoA;
    FileInfo infoB;
    if (!GetListedInfo(a, infoA) || !GetListedInfo(b, infoB))
        return FilesMatch(ResolveFile(a), ResolveFile(b));
    return infoA.exists && !infoA.isDirectory && infoB.exists && !infoB.isDirectory &&
           infoA.size == infoB.size && TimesMatch(infoA.modTime, infoB.modTime);
}

bool ASync::GetListedInfo(const AString& path, FileInfo& info) const {
    const ADir* list = OwningList(path);
    return list && list->GetListedFileInfo(path, info);
}

bool ASync::FileExists(const AString& path) {
    ADir* list = OwningList(path);
    return list ? list->FileExists(path) != 0 : ::FileExists(path);
}

// Only a plain folder list lists folders: an entry of a song list is a song. What the list read of the
// entry answers; only a path it did not list is asked.
bool ASync::IsDirectory(const AString& path) {
    const ADir* list = OwningList(path);
    if (list && list->GetType() != ADir::kTypeDir)
        return false;
    FileInfo info;
    return list && list->GetListedFileInfo(path, info) ? info.isDirectory != 0 : DirectoryExists(path);
}

bool ASync::IsPlainFolderPath(const AString& path) const {
    const ADir* list = OwningList(path);
    return !list || list->GetType() == ADir::kTypeDir;
}

int ASync::CreateDirectory(const AString& path) {
    return CreateDirectoryPath(path);
}

uint64_t ASync::GetFileDate(const AString& path) {
    ADir* list = OwningList(path);
    return list ? list->GetFileDate(path) : GetFileModTime(path);
}

bool ASync::IsNewer(const AString& a, const AString& b) {
    return GetFileDate(b) > GetFileDate(a);
}

// A file replaces the file of the target entry. Where a new song goes in a song list is the song sync's
// to decide: the plain sync copies new files into plain folders only.
int ASync::CopyEntry(const AString& source, const AString& target, uint32_t targetExists, uint32_t,
                     const CancelCallback& cancel, AString& written) {
    if (!targetExists && !IsPlainFolderPath(target))
        return kErrorNotSupported;
    written = ResolveFile(target);
    return CopyWithProgress(ResolveFile(source), written, targetExists ? CancelCallback() : cancel,
                            m_progress, m_options.forceReadOnly != 0);
}

// Song lists delete through their list, which keeps what it removes in "Removed Files"; a plain folder
// list deletes for good.
int ASync::DeleteEntry(const AString& path) {
    ADir* list = OwningList(path);
    if (!IsPlainFolderPath(path))
        return list->DeleteFile(path, ByIndex(*list), 0);
    if (DirectoryExists(path))
        return RemoveEmptyFolder(path);
    return DeleteFileLong(path, m_options.forceReadOnly != 0);
}

void ASync::GetEntryName(const AString& path, AString& out) {
    out = path.Mid(path.ReverseFind(kPathSeparator) + 1);
}

int ASync::CheckBeforeSync(int) {
    return 0;
}

int ASync::ScanDuplicates(const CancelCallback&) {
    return 0;
}

int ASync::Process(const CancelCallback&, uint32_t) {
    return kErrorNotSupported;
}

AString ASync::GetSongKey(ADir&, const AString&) {
    return AString();
}

void ASync::UpdateSongInfo(ADir&, const AString&, const AString&, uint32_t) {}

AString ASync::GetDeviceId(ADir&) {
    return AString();
}

// ---- Building the lists ----

void ASync::SetSideRoot(Side side, const AString& root) {
    ADir& list = side == kSide1 ? *m_directory1 : *m_directory2;
    ADir& snapshot = side == kSide1 ? *m_snapshot1 : *m_snapshot2;
    const AString oldRoot = list.GetRootPath();
    list.SetRootPath(root);
    // What the snapshot remembers belongs to the old place.
    if (!(list.GetRootPath() == oldRoot))
        snapshot.Clear();
    snapshot.SetRootPath(root);
}

int ASync::BuildList(Side side, const AString* root, const CancelCallback& cancel, bool rebuild, bool lock) {
    if (root)
        SetSideRoot(side, *root);
    if (!rebuild)
        return 0;
    if (lock && !m_optionsLock.TryLock())
        return kErrorBusy;
    AString text("Building Directory List...");
    if (root)
        text += *root;
    m_progress->PushRange(1.0, &text, false, false);
    const int result = (side == kSide1 ? m_directory1 : m_directory2)->Open(nullptr, 0, cancel);
    const AString closing = result == 0 ? AString("Building Directory List: complete")
                                        : WithErrorText(AString("Error building directory: "), result);
    m_progress->PopRange(&closing, false, false);
    if (lock)
        m_optionsLock.Unlock();
    return result;
}

int ASync::BuildList1(const AString* root, const CancelCallback& cancel, bool rebuild, bool lock) {
    return BuildList(kSide1, root, cancel, rebuild, lock);
}

int ASync::BuildList2(const AString* root, const CancelCallback& cancel, bool rebuild, bool lock) {
    return BuildList(kSide2, root, cancel, rebuild, lock);
}

int ASync::StartListThread(const AString* root, const CancelCallback&, bool rebuild) {
    const bool hasRoot = root != nullptr;
    const AString rootCopy = hasRoot ? *root : AString();
    m_host->SetListThreadRunning(true);
    try {
        m_listThread = std::thread([this, hasRoot, rootCopy, rebuild] {
            const CancelCallback hostCancel = [this] { return m_host->IsCancelRequested(); };
            m_listResult = BuildList2(hasRoot ? &rootCopy : nullptr, hostCancel, rebuild, false);
            m_listLock.Unlock();
            m_host->SetListThreadRunning(false);
        });
    } catch (const std::system_error&) {
        m_host->SetListThreadRunning(false);
        m_listLock.Unlock();
        return kErrorOutOfMemory;
    }
    return 0;
}

void ASync::JoinListThread() {
    if (m_listThread.joinable())
        m_listThread.join();
}

int ASync::BuildLists(const CancelCallback& cancel, uint32_t flags) {
    const bool build1 = flags & kBuildList1;
    const bool build2 = flags & kBuildList2;
    const double share = 1.0 / std::max(1, int(build1) + int(build2));
    // A remote Directory 2 is fetched on the list thread while Directory 1 is built here.
    const bool onListThread = build2 && IsRemoteList(*m_directory2);
    if (onListThread)
        m_listLock.Lock();
    int result = 0;
    if (build2) {
        m_progress->PushRange(share);
        result =
            onListThread ? StartListThread(nullptr, cancel, true) : BuildList2(nullptr, cancel, true, false);
        m_progress->PopRange();
    }
    if (result == 0 && build1) {
        m_progress->PushRange(share);
        result = BuildList1(nullptr, cancel, true, false);
        m_progress->PopRange();
    }
    if (onListThread) {
        m_listLock.Lock();
        m_listLock.Unlock();
        JoinListThread();
        if (result == 0)
            result = m_listResult;
    }
    return result;
}

int ASync::CheckRemote() {
    int result = 0;
    ForEachList([this, &result](ADir& list) {
        if (result != 0)
            return;
        list.SetLinkProgress(m_progress);
        result = list.Connect();
    });
    if (result != 0 && result != kErrorRemoteUnreached && result != kErrorRemoteHeaderNotSent)
        m_progress->Message(AString("An error occurred communicating with the remote."), false,
                            AString("Communication Error"));
    return result;
}

void ASync::DisconnectLists() {
    ForEachList([](ADir& list) { list.Disconnect(); });
}

int ASync::SaveDatabases() {
    int first = 0;
    for (ADir* list : {m_directory1.get(), m_directory2.get()}) {
        const int result = list->SaveDatabase();
        if (result == 0)
            continue;
        AString description;
        list->GetDescription(description, 0);
        m_progress->LogError(result, AString("Failed saving the database of "), description);
        if (first == 0)
            first = result;
    }
    return first;
}

void ASync::ResetLists() {
    m_directory1->Clear();
    m_directory2->Clear();
    if (m_options.direction != kDirectionBoth && m_options.direction != kDirectionSkipped)
        ClearSnapshots();
}

void ASync::ClearSnapshots() {
    m_snapshot1->Clear();
    m_snapshot2->Clear();
}

// ---- The road ----

void ASync::LogAndShow(const AString& text) {
    m_progress->SetPos(-1.0, &text, &text, &text, m_options.verboseLog != 0);
}

int ASync::WithSyncLock(const std::function<int()>& step) {
    if (!m_optionsLock.TryLock())
        return kErrorBusy;
    const int result = step();
    m_optionsLock.Unlock();
    return result;
}

int ASync::Sync(const CancelCallback& cancel, uint32_t flags, bool checkFields) {
    return WithSyncLock([&] { return RunSync(cancel, flags, checkFields); });
}

int ASync::Prepare(const CancelCallback& cancel, uint32_t flags, bool checkFields) {
    return WithSyncLock([&] { return PrepareLocked(cancel, flags, checkFields); });
}

int ASync::RunSync(const CancelCallback& cancel, uint32_t flags, bool checkFields) {
    // Play data is compared only against a remote library.
    checkFields = checkFields && IsRemoteList(*m_directory2);
    if (m_options.autoReplaceAll)
        m_options.answers = {kAnswerYesToAll, kAnswerYesToAll, kAnswerYesToAll};
    if (const int result = CheckRemote()) {
        DisconnectLists();
        return result;
    }
    if (flags & kPrepareOnly) {
        const int result = CheckBeforeSync(kCheckPrepareOnly);
        return result != 0 ? result : PrepareLocked(cancel, flags, checkFields);
    }
    const AString initializing("Initializing sync...");
    m_progress->Start(&initializing, true, true);
    int result = CheckBeforeSync(kCheckSync);
    if (result == 0)
        result = BuildAndDecide(cancel, flags, checkFields);
    if (result != 0) {
        m_progress->Finish();
        DisconnectLists();
        return result;
    }
    const AString ready("Sync ready.");
    m_progress->Finish(&ready, true, true);
    if (m_actions.empty()) {
        m_progress->Message(AString("Nothing to Sync!"), true);
        KeepSnapshotsOfBuiltLists();
        DisconnectLists();
        return 0;
    }
    if (const int refused = ConfirmActions(cancel)) {
        LogAndShow(AString("User cancelled."));
        DisconnectLists();
        return refused;
    }
    return PerformAndFinalise(cancel, kSyncPerformTexts);
}

int ASync::PrepareLocked(const CancelCallback& cancel, uint32_t flags, bool checkFields) {
    if (const int result = CheckBeforeSync(kCheckInPrepare))
        return result;
    return BuildAndDecide(cancel, flags, checkFields && IsRemoteList(*m_directory2));
}

// A list that could not be built is never taken for an empty one: its failure ends the sync before
// anything is decided.
int ASync::BuildAndDecide(const CancelCallback& cancel, uint32_t flags, bool checkFields) {
    if (const int result = CheckRoots())
        return result;
    const bool build = flags & (kBuildList1 | kBuildList2);
    const bool scan = GetSyncKind() != kPlainSyncKind;
    const double share = 1.0 / (1 + int(build) + int(scan));
    if (build) {
        m_progress->PushRange(share);
        const int result = BuildLists(cancel, flags);
        m_progress->PopRange();
        if (result != 0)
            return result;
    }
    if (scan) {
        m_progress->PushRange(share);
        const int result = ScanDuplicates(cancel);
        m_progress->PopRange();
        if (result != 0)
            return result;
    }
    m_progress->PushRange(share);
    int result = m_directory1->ResetAddState();
    if (result == 0)
        result = m_directory2->ResetAddState();
    if (result == 0) {
        ClearActions();
        result = DecideByDirection(cancel, checkFields);
    }
    m_progress->PopRange();
    return result;
}

int ASync::CheckRoots() {
    const AString& root1 = m_directory1->GetRootPath();
    const AString& root2 = m_directory2->GetRootPath();
    if (!RootsOverlap(root1, root2))
        return 0;
    m_progress->LogError(kErrorInvalidPath, AString("Directory 1 and Directory 2 overlap: "),
                         root1 + " " + root2);
    return kErrorInvalidPath;
}

int ASync::ConfirmActions(const CancelCallback& cancel) {
    if (m_options.showActionList) {
        const AString preparing("Preparing action list...");
        m_progress->SetPos(-1.0, &preparing, &preparing);
        if (const int result = ShowActionList())
            return result;
    }
    return cancel && cancel() ? kUserCancel : 0;
}

int ASync::ShowActionList() {
    return m_presenter->ConfirmActions(*this, SyncActionTexts::ForDirectories()) ? 0 : kUserCancel;
}

// The databases are written before the snapshots are taken: a side whose database could not be written
// does not stand as its snapshot would say.
int ASync::PerformAndFinalise(const CancelCallback& cancel, const PerformTexts& texts) {
    const AString performing(texts.performing);
    m_progress->Start(&performing, true, true);
    const bool twoWay = m_options.direction == kDirectionBoth;
    m_progress->PushRange(twoWay ? kTwoWayPerformShare : 1.0);
    int result = PerformActions(cancel);
    m_progress->PopRange();
    ClearActions();
    int finalResult = SaveDatabases();
    if (twoWay) {
        const int snapshotResult = FinaliseTwoWay(cancel, finalResult, texts.finalising);
        if (finalResult == 0)
            finalResult = snapshotResult;
    }
    ResetLists();
    const RunEnd end = ConcludeRun(result, m_tally, finalResult, texts.completed);
    m_progress->Finish(&end.closing, true, true);
    DisconnectLists();
    return end.result;
}

ASync::RunEnd ASync::ConcludeRun(int performResult, const ActionTally& tally, int finalResult,
                                 const char* completed) {
    std::vector<AString> parts;
    if (performResult == kUserCancel)
        parts.emplace_back("Sync terminated by user cancel.");
    if (tally.failed > 0)
        parts.push_back(AString::FromInt(tally.failed) + " of " + AString::FromInt(tally.total) +
                        (tally.total == 1 ? " action failed." : " actions failed."));
    if (finalResult != 0)
        parts.push_back(WithErrorText(AString("Error: "), finalResult));
    AString closing(parts.empty() ? completed : "");
    for (const AString& part : parts)
        closing += closing.IsEmpty() ? part : AString(" ") + part;
    if (performResult == kUserCancel || performResult == kErrorNoSpace)
        return {performResult, closing};
    if (finalResult != 0)
        return {finalResult, closing};
    return {tally.failed > 0 ? kErrorActionsFailed : performResult, closing};
}

ASync::ActionTally& ASync::ActionTally::operator+=(const ActionTally& other) {
    failed += other.failed;
    total += other.total;
    return *this;
}

int ASync::FinaliseTwoWay(const CancelCallback& cancel, int databaseResult, const char* finalisingText) {
    const AString finalising(finalisingText);
    m_progress->PushRange(kTwoWayFinalShare, &finalising, false, true);
    const int result = databaseResult == 0 ? SaveFileLists(cancel) : 0;
    m_progress->PopRange();
    return result;
}

// ---- Snapshots ----

bool ASync::KeepsSnapshotOf(ADir& list) {
    return !(GetDeviceId(list) == kUnknownDeviceId);
}

// A snapshot speaks only for the place and device it was taken of; any other is dropped, so that no
// deletion is carried across on its word.
void ASync::DropStaleSnapshots() {
    int side = 1;
    for (auto [list, snapshot] : {std::pair{m_directory1.get(), m_snapshot1.get()},
                                  std::pair{m_directory2.get(), m_snapshot2.get()}}) {
        const bool matches = snapshot->GetRootPath() == list->GetRootPath() &&
                             GetDeviceId(*snapshot) == GetDeviceId(*list) && KeepsSnapshotOf(*list);
        if (snapshot->GetCount() > 0 && !matches) {
            snapshot->Clear();
            m_progress->Log(AString("The last sync's file list ") + AString::FromInt(side) +
                            " does not match its side and is not used.\r\n");
        }
        ++side;
    }
}

int ASync::RefreshSnapshot(ADir& list, ADir& snapshot, const CancelCallback& cancel) {
    if (!KeepsSnapshotOf(list)) {
        snapshot.Clear();
        return 0;
    }
    const AString root = list.GetRootPath();
    const int result = snapshot.Open(&root, 0, cancel);
    // A snapshot that is not whole remembers nothing.
    if (result != 0)
        snapshot.Clear();
    return result;
}

int ASync::SaveFileLists(const CancelCallback& cancel) {
    if (m_options.deleteMode == 0)
        return 0;
    const AString saving1("Saving file list 1...");
    m_progress->PushRange(kSnapshotShare, &saving1);
    int result = RefreshSnapshot(*m_directory1, *m_snapshot1, cancel);
    m_progress->PopRange();
    const AString saving2("Saving file list 2...");
    m_progress->PushRange(kSnapshotShare, &saving2);
    const int result2 = RefreshSnapshot(*m_directory2, *m_snapshot2, cancel);
    m_progress->PopRange();
    return result != 0 ? result : result2;
}

// Nothing was to be done, so the lists just built are how both sides stand: the snapshots take them
// over, or a deletion made on both sides by hand would be carried back once one side had the file again.
void ASync::KeepSnapshotsOfBuiltLists() {
    if (m_options.direction != kDirectionBoth || m_options.deleteMode == 0)
        return;
    for (auto [list, snapshot] : {std::pair{m_directory1.get(), m_snapshot1.get()},
                                  std::pair{m_directory2.get(), m_snapshot2.get()}}) {
        snapshot->Clear();
        if (!KeepsSnapshotOf(*list))
            continue;
        AMemFile copy(kListCopyGrowth);
        if (list->Save(copy, 0) != 0)
            continue;
        AMemFile reader(copy.GetBuffer(), copy.GetSize());
        if (snapshot->Load(reader, 0) != 0)
            snapshot->Clear();
    }
}

// ---- Deciding ----

int ASync::DecideByDirection(const CancelCallback& cancel, bool checkFields) {
    int result = 0;
    switch (m_options.direction) {
    case kDirection1To2:
        result = WalkOneWay(*m_directory1, *m_directory2, cancel, checkFields);
        break;
    case kDirection2To1:
        result = WalkOneWay(*m_directory2, *m_directory1, cancel, checkFields);
        break;
    case kDirectionBoth:
        result = WalkTwoWay(cancel, checkFields);
        break;
    default:
        break;
    }
    MoveFolderDeletionsLast();
    return result;
}

int ASync::CalculateOneWay(ADir& source, ADir& target, const CancelCallback& cancel, bool checkFields) {
    if (!m_optionsLock.TryLock())
        return kErrorBusy;
    const int result = WalkOneWay(source, target, cancel, checkFields);
    m_optionsLock.Unlock();
    return result;
}

int ASync::CalculateTwoWay(const CancelCallback& cancel, bool checkFields) {
    if (!m_optionsLock.TryLock())
        return kErrorBusy;
    const int result = WalkTwoWay(cancel, checkFields);
    m_optionsLock.Unlock();
    return result;
}

// The entries of a list in the walk's order. The list is sorted itself (its own lookups rely on it);
// should its order differ from the walk's, the walk sorts its view. Entries without a name to pair them
// by are left out: they are never paired, replaced or deleted.
ASync::WalkList ASync::SortedEntries(ADir& list, const char* sortingText) {
    if (list.GetCount() > 0 && sortingText) {
        AString description;
        list.GetDescription(description, 0);
        m_progress->Log(AString(sortingText) + description + "\r\n");
    }
    if (list.GetCount() > 0)
        list.Sort(1);
    WalkList walkList;
    walkList.texts.reserve(static_cast<size_t>(list.GetCount()));
    for (int i = 0; i < list.GetCount(); ++i) {
        const AString* entry = list.GetEntry(i);
        if (!entry)
            continue;
        if (!IsPairable(*entry)) {
            m_progress->Log(AString("Skipped, without a name to pair it by: ") +
                            ResolveFile(JoinPath(list.GetRootPath(), *entry)) + "\r\n");
            continue;
        }
        walkList.texts.push_back(*entry);
    }
    walkList.entries.reserve(walkList.texts.size());
    for (const AString& text : walkList.texts)
        walkList.entries.push_back(&text);
    SyncEntryWalk::SortEntries(
        walkList.entries, [this](const AString& a, const AString& b) { return CompareEntryNames(a, b); });
    return walkList;
}

bool ASync::IsPairable(const AString& entry) const {
    return !(m_songEntries ? EntryWithoutId(entry) : entry).IsEmpty();
}

SyncEntryWalk ASync::MakeWalk(std::vector<const SyncEntryWalk::Entries*> lists) const {
    return SyncEntryWalk(std::move(lists),
                         [this](const AString& a, const AString& b) { return CompareEntryNames(a, b); });
}

// Decides key after key. A key's conflict is logged and the walk goes on; the result is 0, the
// failure the user chose to stop on ("Stop on an Error"), or 123456 for a cancel.
int ASync::WalkKeys(SyncEntryWalk& walk, const CancelCallback& cancel,
                    const std::function<int(const SyncEntryWalk&)>& decide) {
    LogAndShow(AString("Calculating sync actions to perform..."));
    const int total = std::max(1, walk.Total());
    int shownStep = -1;
    int stepResult = 0;
    while (walk.Next()) {
        if (m_options.stopOnError && stepResult != 0 &&
            AProgress::AskYesNo(AString("Error occured! Quit operation?")) == AProgress::kAnswerYes)
            return stepResult;
        const int progressStep = static_cast<int>(int64_t(walk.Passed()) * kWalkProgressSteps / total);
        if (progressStep != shownStep) {
            shownStep = progressStep;
            const AString text = AString("Processing ") + AString::FromInt(walk.Passed()) + " of " +
                                 AString::FromInt(walk.Total());
            m_progress->SetPos(double(walk.Passed()) / total, nullptr, &text);
        }
        stepResult = decide(walk);
        if (cancel && cancel())
            return kUserCancel;
    }
    return 0;
}

void ASync::CloseWalk(int result, const char* errorText) {
    const AString closing(result == 0
                              ? "Sync actions calculated."
                              : (result == kUserCancel ? "Sync terminated by user cancel." : errorText));
    m_progress->PopRange(&closing, false, true);
}

// Two entries of one list under one key (names that differ only in letter case, or a song twice): no
// pairing is safe, so the key gets no action.
bool ASync::IsConflict(const SyncEntryWalk& walk, std::initializer_list<int> lists) {
    for (const int list : lists) {
        const auto matches = walk.Matches(list);
        if (matches.size() > 1) {
            m_progress->LogError(kErrorDuplicateNames, *matches[0], AString(" ") + *matches[1]);
            return true;
        }
    }
    return false;
}

int ASync::ReportFolderFileClash(const AString& pathA, const AString& pathB) {
    m_progress->LogError(kErrorDuplicateNames, pathA, pathB);
    return kErrorDuplicateNames;
}

int ASync::WalkOneWay(ADir& source, ADir& target, const CancelCallback& cancel, bool checkFields) {
    // A one-way sync keeps no snapshot.
    ClearSnapshots();
    const AString syncing = AString("Syncing: ") + AString::FromInt(source.GetCount()) + " in source and " +
                            AString::FromInt(target.GetCount()) + " in dest.";
    m_progress->PushRange(1.0, &syncing);
    const WalkList sourceEntries = SortedEntries(source, "Sorting Directory List 1... ");
    const WalkList targetEntries = SortedEntries(target, "Sorting Directory List 2... ");
    SyncEntryWalk walk = MakeWalk({&sourceEntries.entries, &targetEntries.entries});
    const int result = WalkKeys(walk, cancel, [&](const SyncEntryWalk& step) {
        return DecideOneWayKey(step, source, target, checkFields);
    });
    CloseWalk(result, "Error Syncing!");
    return result;
}

int ASync::DecideOneWayKey(const SyncEntryWalk& walk, ADir& source, ADir& target, bool checkFields) {
    if (IsConflict(walk, {0, 1}))
        return kErrorDuplicateNames;
    const auto inSource = walk.Matches(0);
    const auto inTarget = walk.Matches(1);
    if (inSource.empty())
        return AddDeleteForMissing(JoinPath(target.GetRootPath(), *inTarget[0]));
    const AString sourcePath = JoinPath(source.GetRootPath(), *inSource[0]);
    if (inTarget.empty())
        return DecidePair(sourcePath, JoinPath(target.GetRootPath(), *inSource[0]), 0, checkFields);
    const AString targetPath = JoinPath(target.GetRootPath(), *inTarget[0]);
    if (IsDirectory(sourcePath) != IsDirectory(targetPath))
        return ReportFolderFileClash(sourcePath, targetPath);
    return DecidePair(sourcePath, targetPath, 1, checkFields);
}

int ASync::WalkTwoWay(const CancelCallback& cancel, bool checkFields) {
    // Without deletions nothing needs remembering.
    if (m_options.deleteMode == 0)
        ClearSnapshots();
    else
        DropStaleSnapshots();
    const AString syncing = AString("Syncing: ") + AString::FromInt(m_directory1->GetCount()) +
                            " files and " + AString::FromInt(m_directory2->GetCount()) + " files";
    m_progress->PushRange(1.0, &syncing);
    const WalkList entries1 = SortedEntries(*m_directory1, "Sorting Directory List 1... ");
    const WalkList snapshot1 = SortedEntries(*m_snapshot1, nullptr);
    const WalkList entries2 = SortedEntries(*m_directory2, "Sorting Directory List 2... ");
    const WalkList snapshot2 = SortedEntries(*m_snapshot2, nullptr);
    SyncEntryWalk walk =
        MakeWalk({&entries1.entries, &snapshot1.entries, &entries2.entries, &snapshot2.entries});
    const int result =
        WalkKeys(walk, cancel, [&](const SyncEntryWalk& step) { return DecideTwoWayKey(step, checkFields); });
    CloseWalk(result, "Error Sync'ing!");
    return result;
}

// One key of the two-way walk, decided by the lists it is in: Directory 1 (0), its snapshot (1),
// Directory 2 (2) and its snapshot (3). An entry on one side only was deleted on the other when that
// other side's snapshot has it; otherwise it is new and is copied across.
int ASync::DecideTwoWayKey(const SyncEntryWalk& walk, bool checkFields) {
    enum { kList1 = 0, kSnapshot1 = 1, kList2 = 2, kSnapshot2 = 3 };
    if (IsConflict(walk, {kList1, kList2}))
        return kErrorDuplicateNames;
    const auto in1 = walk.Matches(kList1);
    const auto in2 = walk.Matches(kList2);
    const AString& root1 = m_directory1->GetRootPath();
    const AString& root2 = m_directory2->GetRootPath();
    if (!in1.empty() && !in2.empty()) {
        const AString path1 = JoinPath(root1, *in1[0]);
        const AString path2 = JoinPath(root2, *in2[0]);
        const bool folder = IsDirectory(path1);
        if (folder != IsDirectory(path2))
            return ReportFolderFileClash(path1, path2);
        return folder ? 0 : DecideTwoWay(path1, path2, checkFields);
    }
    if (!in1.empty())
        return DecideOneSided(JoinPath(root1, *in1[0]), root2, *in1[0], !walk.Matches(kSnapshot2).empty());
    if (!in2.empty())
        return DecideOneSided(JoinPath(root2, *in2[0]), root1, *in2[0], !walk.Matches(kSnapshot1).empty());
    return 0;
}

int ASync::DecideOneSided(const AString& path, const AString& otherRoot, const AString& entry,
                          bool inOtherSnapshot) {
    if (inOtherSnapshot)
        return AddDeleteForMissing(path);
    return DecidePair(path, JoinPath(otherRoot, entry), 0, false);
}

int ASync::DecidePair(const AString& source, const AString& target, uint32_t targetExists, bool checkFields) {
    if (IsDirectory(source)) {
        if (!IsDirectory(target))
            AppendAction(AddCreateDirAction(source, target, targetExists));
        return 0;
    }
    const bool passes = PassesFilter(source);
    if (passes && !targetExists) {
        AppendAction(AddCopyAction(source, target, 0));
        return 0;
    }
    if (passes && !CompareFileInfo(source, target)) {
        AppendReplaceOrUndefined(source, target, targetExists);
        return 0;
    }
    // Play data is only compared with a song that is there.
    if (checkFields && targetExists)
        DecideSongFields(source, target);
    return 0;
}

int ASync::DecideTwoWay(const AString& pathA, const AString& pathB, bool checkFields) {
    if (!CompareFileInfo(pathA, pathB)) {
        const uint64_t timeA = GetFileDate(pathA);
        const uint64_t timeB = GetFileDate(pathB);
        if (timeA > timeB)
            return DecidePair(pathA, pathB, 1, false);
        if (timeB > timeA)
            return DecidePair(pathB, pathA, 1, false);
        if (!CompareContents(pathA, pathB)) {
            AppendAction(AddUndefinedAction(pathA, pathB));
            return 0;
        }
    }
    if (checkFields)
        DecideSongFieldsTwoWay(pathA, pathB);
    return 0;
}

int ASync::AddDeleteForMissing(const AString& path) {
    if (m_options.deleteMode == 0 || !PassesFilter(path))
        return 0;
    AppendAction(IsDirectory(path) ? AddDeleteDirAction(path) : AddDeleteAction(path));
    return 0;
}

// Two files of one song but of different types (an mp3 and an m4a under one name) are not one file in
// two versions: the user decides.
void ASync::AppendReplaceOrUndefined(const AString& source, const AString& target, uint32_t targetExists) {
    if (ExtensionOf(ResolveFile(source)).CompareNoCase(ExtensionOf(ResolveFile(target))) == 0) {
        AppendAction(AddReplaceAction(source, target, targetExists, 0));
        return;
    }
    const bool sourceOnSide1 = IsOnSide1(source);
    AppendAction(AddUndefinedAction(sourceOnSide1 ? source : target, sourceOnSide1 ? target : source));
}

bool ASync::IsLibraryPath(const AString& path) const {
    return IsLibraryList(IsOnSide1(path) ? *m_directory1 : *m_directory2);
}

SongKey ASync::ReadSongKey(const AString& path) {
    ADir& list = IsOnSide1(path) ? *m_directory1 : *m_directory2;
    return SongKey::Parse(IsLibraryList(list) ? GetSongKey(list, path) : AString());
}

// Directory 1's values come first where both sides have one.
SongKey ASync::MergedSongKey(const AString& pathA, const AString& pathB) {
    const bool aOnSide1 = IsOnSide1(pathA);
    const SongKey keyA = ReadSongKey(pathA);
    const SongKey keyB = ReadSongKey(pathB);
    return aOnSide1 ? SongKey::Merge(keyA, keyB) : SongKey::Merge(keyB, keyA);
}

uint32_t ASync::GetSongFields() const {
    uint32_t fields = 0;
    for (const auto& [option, field] : kSongFieldOptions)
        fields |= m_options.*option ? static_cast<uint32_t>(field) : 0U;
    return fields;
}

void ASync::SetSongFields(uint32_t fields) {
    for (const auto& [option, field] : kSongFieldOptions)
        m_options.*option = (fields & field) ? 1 : 0;
}

// The one-way field check: the target takes the merged play data when that changes a compared field.
void ASync::DecideSongFields(const AString& source, const AString& target) {
    const uint32_t compared = GetSongFields() & kComparedSongFields;
    if (compared == 0 || !IsLibraryPath(target))
        return;
    const SongKey merged = MergedSongKey(source, target);
    if (merged.DifferingFields(ReadSongKey(target), compared) != 0)
        AppendAction(AddReplaceAction(source, target, 1, 1));
}

// The two-way field check: each side that lacks some of the merged play data gets it.
void ASync::DecideSongFieldsTwoWay(const AString& pathA, const AString& pathB) {
    const SongKey merged = MergedSongKey(pathA, pathB);
    if (IsLibraryPath(pathB) && merged.DifferingFields(ReadSongKey(pathB), kComparedSongFields) != 0)
        AppendAction(AddReplaceAction(pathA, pathB, 1, 1));
    if (IsLibraryPath(pathA) && merged.DifferingFields(ReadSongKey(pathA), kComparedSongFields) != 0)
        AppendAction(AddReplaceAction(pathB, pathA, 1, 1));
}

// Folders can only go once their files have gone: their deletions run last, the deepest first.
void ASync::MoveFolderDeletionsLast() {
    const auto folders = std::stable_partition(m_actions.begin(), m_actions.end(), [](const auto& action) {
        return action->code != kActionDeleteFolder;
    });
    std::stable_sort(folders, m_actions.end(), [](const auto& a, const auto& b) {
        return FolderDepth(a->pathA) > FolderDepth(b->pathA);
    });
}

// ---- Actions ----

void ASync::AppendAction(std::unique_ptr<SyncAction> action) {
    if (action)
        m_actions.push_back(std::move(action));
}

SyncAction* ASync::GetAction(int index) const {
    if (index < 0 || index >= GetActionCount())
        return nullptr;
    return m_actions[static_cast<size_t>(index)].get();
}

void ASync::ClearActions() {
    m_actions.clear();
}

AString ASync::GetEntryText(const AString& path, int kind, int, uint32_t) {
    if (path.IsEmpty() || kind != kFolderPart)
        return path;
    const int separator = path.ReverseFind(kPathSeparator);
    return separator < 0 ? AString() : path.Left(separator + 1);
}

AString ASync::WholeText(const AString& path) {
    return GetEntryText(path, kWholeEntry, kActionTextWidth, 0);
}

AString ASync::FolderText(const AString& path) {
    return GetEntryText(path, kFolderPart, kActionTextWidth, 0);
}

void ASync::FillActionTexts(SyncAction& action) {
    const bool copies = action.code == kActionCopy || action.code == kActionCreateFolder;
    const bool deletes = action.code == kActionDelete || action.code == kActionDeleteFolder;
    AString sourceText = WholeText(action.pathA);
    AString targetText = deletes ? AString() : (copies ? FolderText(action.pathB) : WholeText(action.pathB));
    if (action.onSide2)
        std::swap(sourceText, targetText);
    action.text1 = sourceText;
    action.text2 = targetText;
}

std::unique_ptr<SyncAction> ASync::MakeAction(uint32_t code, const AString& source, const AString& target,
                                              uint32_t targetExists, uint32_t fieldsOnly) {
    auto action = std::make_unique<SyncAction>();
    action->code = code;
    action->pathA = source;
    action->pathB = target;
    action->targetExists = targetExists;
    action->fieldsOnly = fieldsOnly;
    const bool onSide1 = IsOnSide1(source);
    action->onSide1 = onSide1 ? 1 : 0;
    action->onSide2 = onSide1 ? 0 : 1;
    // From Directory 1 an action acts towards Directory 2 (odd index), a delete deletes from it (even).
    action->displayIndex = PairStart(code) + (onSide1 == ActsTowardsTarget(code) ? 1 : 0);
    FillActionTexts(*action);
    return action;
}

std::unique_ptr<SyncAction> ASync::MakePairAction(uint32_t code, uint32_t enabled, uint32_t displayIndex,
                                                  const AString& pathA, const AString& pathB) {
    auto action = std::make_unique<SyncAction>();
    action->enabled = enabled;
    action->code = code;
    action->pathA = pathA;
    action->pathB = pathB;
    action->targetExists = 1;
    action->onSide1 = 1;
    action->onSide2 = 0;
    action->displayIndex = displayIndex;
    action->text1 = WholeText(pathA);
    action->text2 = WholeText(pathB);
    return action;
}

std::unique_ptr<SyncAction> ASync::AddCreateDirAction(const AString& source, const AString& target,
                                                      uint32_t targetExists) {
    return MakeAction(kActionCreateFolder, source, target, targetExists, 0);
}

std::unique_ptr<SyncAction> ASync::AddCopyAction(const AString& source, const AString& target,
                                                 uint32_t targetExists) {
    return MakeAction(kActionCopy, source, target, targetExists, 0);
}

std::unique_ptr<SyncAction> ASync::AddReplaceAction(const AString& source, const AString& target,
                                                    uint32_t targetExists, uint32_t fieldsOnly) {
    return MakeAction(kActionReplace, source, target, targetExists, fieldsOnly);
}

std::unique_ptr<SyncAction> ASync::AddDeleteDirAction(const AString& path) {
    return MakeAction(kActionDeleteFolder, path, AString(), 1, 0);
}

std::unique_ptr<SyncAction> ASync::AddDeleteAction(const AString& path) {
    return MakeAction(kActionDelete, path, AString(), 1, 0);
}

std::unique_ptr<SyncAction> ASync::AddUndefinedAction(const AString& pathA, const AString& pathB) {
    return MakePairAction(kActionUndefined, 0, kUndefinedPair, pathA, pathB);
}

std::unique_ptr<SyncAction> ASync::AddNoAction(const AString& pathA, const AString& pathB) {
    return MakePairAction(kActionNone, 1, kNoActionPair, pathA, pathB);
}

int ASync::CompareActions(const SyncAction& a, const SyncAction& b, int column, bool ascending) {
    enum Key { kEnabled, kIndex, kText1, kText2 };
    static constexpr Key kColumnKeys[][4] = {
        {kEnabled, kIndex, kText1, kText2},
        {kText1, kIndex, kEnabled, kText2},
        {kIndex, kEnabled, kText1, kText2},
        {kText2, kIndex, kEnabled, kText1},
    };
    if (column < 0 || column >= static_cast<int>(std::size(kColumnKeys)))
        return 0;
    int order = 0;
    for (const Key key : kColumnKeys[column]) {
        switch (key) {
        case kEnabled:
            order = static_cast<int>(b.enabled) - static_cast<int>(a.enabled);
            break;
        case kIndex:
            order = static_cast<int>(a.displayIndex) - static_cast<int>(b.displayIndex);
            break;
        case kText1:
            order = a.text1.CompareNoCase(b.text1);
            break;
        case kText2:
            order = a.text2.CompareNoCase(b.text2);
            break;
        }
        if (order != 0)
            break;
    }
    return ascending ? order : -order;
}

// The path of the same entry under the other side's root.
AString ASync::MovedToOtherSide(const AString& path, Side from) const {
    const AString& fromRoot = (from == kSide1 ? m_directory1 : m_directory2)->GetRootPath();
    const AString& toRoot = (from == kSide1 ? m_directory2 : m_directory1)->GetRootPath();
    return JoinPath(toRoot, path.Mid(fromRoot.GetLength()));
}

void ASync::ChangeAction(SyncAction& action, int change) {
    static constexpr uint32_t kAppliesTo[] = {kCopyTo1,    kCopyTo2,    kDeleteFrom1,   kDeleteFrom2,
                                              kReplaceIn1, kReplaceIn2, kUndefinedPair, kUndefinedPair};
    if (change < 0 || change >= static_cast<int>(std::size(kAppliesTo)) ||
        action.displayIndex != kAppliesTo[change])
        return;
    action.fieldsOnly = 0;
    const auto swapSides = [&action] {
        std::swap(action.pathA, action.pathB);
        std::swap(action.onSide1, action.onSide2);
    };
    switch (change) {
    case kChangeCopyTo1ToDelete:
    case kChangeCopyTo2ToDelete:
        action.code = kActionDelete;
        action.targetExists = 1;
        action.displayIndex = change == kChangeCopyTo1ToDelete ? kDeleteFrom2 : kDeleteFrom1;
        action.pathB = AString();
        (change == kChangeCopyTo1ToDelete ? action.text1 : action.text2) = AString();
        break;
    case kChangeDeleteFrom1ToCopy:
        action.code = kActionCopy;
        action.targetExists = 0;
        action.displayIndex = kCopyTo2;
        action.pathB = MovedToOtherSide(action.pathA, kSide1);
        action.text2 = FolderText(action.pathB);
        break;
    case kChangeDeleteFrom2ToCopy:
        action.code = kActionCopy;
        action.targetExists = 0;
        action.displayIndex = kCopyTo1;
        action.pathB = MovedToOtherSide(action.pathA, kSide2);
        action.text1 = FolderText(action.pathB);
        break;
    case kChangeReplaceIn1ToReplaceIn2:
    case kChangeUndefinedToReplaceIn2:
        if (change == kChangeReplaceIn1ToReplaceIn2)
            swapSides();
        action.code = kActionReplace;
        action.displayIndex = kReplaceIn2;
        action.text1 = WholeText(action.pathA);
        action.text2 = WholeText(action.pathB);
        break;
    case kChangeReplaceIn2ToReplaceIn1:
    case kChangeUndefinedToReplaceIn1:
        swapSides();
        action.code = kActionReplace;
        action.displayIndex = kReplaceIn1;
        action.text1 = WholeText(action.pathB);
        action.text2 = WholeText(action.pathA);
        break;
    default:
        break;
    }
}

// ---- Performing ----

int ASync::PerformActions(const CancelCallback& cancel) {
    const int enabledCount = static_cast<int>(std::count_if(
        m_actions.begin(), m_actions.end(), [](const auto& action) { return action->enabled != 0; }));
    const AString performing("Performing sync actions...");
    m_progress->PushRange(1.0, &performing, false, true);
    m_tally = {0, enabledCount};
    int first = 0;
    int latest = 0;
    int done = 0;
    for (size_t i = 0; i < m_actions.size(); ++i) {
        SyncAction& action = *m_actions[i];
        if (!action.enabled)
            continue;
        ++done;
        const AString step =
            AString("Action ") + AString::FromInt(done) + " of " + AString::FromInt(enabledCount);
        latest = PerformAction(action, step, double(i) / enabledCount, 1.0 / enabledCount, cancel);
        if (latest != 0 && latest != kUserCancel)
            ++m_tally.failed;
        // A full volume takes every following copy with it.
        if (latest == kErrorNoSpace) {
            first = latest;
            break;
        }
        if (first == 0)
            first = latest;
        if (latest != 0 && m_options.stopOnError) {
            if (AProgress::AskYesNo(AString("Error occured! Quit operation?")) == AProgress::kAnswerYes)
                break;
        } else {
            latest = 0;
        }
        if (cancel && cancel()) {
            first = kUserCancel;
            break;
        }
    }
    AString closing("Sync actions completed.");
    if (first == kUserCancel || latest == kUserCancel)
        closing = "Sync terminated by user cancel.";
    else if (first != 0) {
        closing = AString("Error: ") + AString::FromInt(first) + ":" + AString::FromInt(latest);
        GetErrorText(closing, first);
    }
    m_progress->PopRange(&closing);
    return first;
}

int ASync::PerformAction(SyncAction& action, const AString& step, double position, double share,
                         const CancelCallback& cancel) {
    switch (action.code) {
    case kActionCopy:
    case kActionReplace:
        return PerformCopyOrReplace(action, step, share, cancel);
    case kActionDelete: {
        const AString text = step + " Deleting " + GetEntryText(action.pathA, kWholeEntry, kLogTextWidth, 0);
        m_progress->SetPos(position, nullptr, &text, &text, m_options.verboseLog != 0);
        return DeleteFile(action.pathA);
    }
    case kActionCreateFolder:
        return PerformCreateFolder(action, step);
    case kActionDeleteFolder:
        return PerformDeleteFolder(action, step);
    default:
        return 0;
    }
}

int ASync::PerformCopyOrReplace(SyncAction& action, const AString& step, double share,
                                const CancelCallback& cancel) {
    const bool copy = action.code == kActionCopy;
    const AString text = step + (copy ? " Copying " : " Replacing ") +
                         GetEntryText(action.pathA, kWholeEntry, kLogTextWidth, 0) +
                         (copy ? " to " : " on ") + GetEntryText(action.pathB, kFolderPart, kLogTextWidth, 0);
    m_progress->PushRange(share, &text, true, true);
    const int result = action.fieldsOnly && !copy
                           ? PerformFieldsUpdate(action)
                           : CopyFile(action.pathA, action.pathB, action.targetExists, copy ? 0 : 1, cancel);
    m_progress->PopRange();
    return result;
}

// Writes the merged play data onto the target song, and only the enabled fields that would change.
int ASync::PerformFieldsUpdate(const SyncAction& action) {
    ADir& target = IsOnSide1(action.pathB) ? *m_directory1 : *m_directory2;
    if (!IsLibraryList(target))
        return 0;
    const SongKey merged = MergedSongKey(action.pathA, action.pathB);
    const uint32_t changed = merged.DifferingFields(ReadSongKey(action.pathB), GetSongFields());
    if (changed != 0)
        UpdateSongInfo(target, action.pathB, merged.Format(), changed);
    return 0;
}

int ASync::PerformCreateFolder(const SyncAction& action, const AString& step) {
    if (m_options.verboseLog) {
        const AString text = step + " Creating directory: " + action.pathB;
        m_progress->SetPos(-1.0, &text, nullptr, &text, true);
    }
    const int result = CreateDirectory(action.pathB);
    if (result != 0)
        LogFailure(AString("Failed creating directory ") + action.pathB, result);
    return result;
}

int ASync::PerformDeleteFolder(const SyncAction& action, const AString& step) {
    const AString shown = GetEntryText(action.pathA, kWholeEntry, kLogTextWidth, 0);
    if (m_options.verboseLog) {
        const AString text = step + " Deleting directory: " + shown;
        m_progress->SetPos(-1.0, &text, nullptr, &text, true);
    }
    const int result = DeleteEntry(action.pathA);
    ForgetRemoteInfo(action.pathA);
    if (result != 0)
        LogFailure(AString("Failed deleting directory ") + shown, result);
    return result;
}

void ASync::LogFailure(const AString& text, int code) {
    const AString line = WithErrorText(text + ": ", code);
    m_progress->SetPos(-1.0, nullptr, nullptr, &line, m_options.verboseLog != 0);
}

bool ASync::Confirm(uint32_t& keptAnswer, const char* question, const AString& path, const AString* target) {
    if (keptAnswer == kAnswerNoToAll)
        return false;
    if (keptAnswer == kAnswerYesToAll)
        return true;
    const AString first = WholeText(path);
    const AString second = target ? WholeText(*target) : AString();
    switch (AProgress::AskYesNoAll(AString(question), &first, target ? &second : nullptr)) {
    case AProgress::kAnswerYes:
        return true;
    case AProgress::kAnswerYesToAll:
        keptAnswer = kAnswerYesToAll;
        return true;
    case AProgress::kAnswerNoToAll:
        keptAnswer = kAnswerNoToAll;
        return false;
    default:
        return false;
    }
}

// "No to All" on replacing stops every replace, also of newer targets, without a further question.
bool ASync::ConfirmReplace(const AString& source, const AString& target) {
    if (m_options.answers.replace == kAnswerNoToAll)
        return false;
    if (IsNewer(source, target))
        return Confirm(m_options.answers.replaceNewer, "Replace newer file?", source, &target);
    return Confirm(m_options.answers.replace, "Replace file?", source, &target);
}

int ASync::CopyFile(const AString& source, const AString& target, uint32_t targetExists, uint32_t replace,
                    const CancelCallback& cancel) {
    int result = 0;
    AString written = target;
    if (!FileExists(source)) {
        result = kErrorFileNotFound;
    } else {
        if (targetExists && !ConfirmReplace(source, target))
            return 0;
        result = CopyEntry(source, target, targetExists, replace, cancel, written);
        ForgetRemoteInfo(written);
        if (result == 0 && m_options.verifyCopies)
            result = VerifyCopy(source, written);
    }
    if (result != 0)
        LogFailure(AString("Failed copying ") + GetEntryText(source, kWholeEntry, kLogTextWidth, 0) + " to " +
                       GetEntryText(target, kFolderPart, kLogTextWidth, 0),
                   result);
    return result;
}

// A target that names no file of its own (a song added to a database) cannot be read back: that is
// said in the log, never taken for a good copy silently.
int ASync::VerifyCopy(const AString& source, const AString& written) {
    if (written.IsEmpty()) {
        m_progress->Log(AString("Not verified, the target names no file: ") +
                        GetEntryText(source, kWholeEntry, kLogTextWidth, 0) + "\r\n");
        return 0;
    }
    return CompareContents(source, written) ? 0 : kErrorIO;
}

int ASync::DeleteFile(const AString& path, bool* deleted) {
    if (deleted)
        *deleted = false;
    if (!Confirm(m_options.answers.remove, "Delete file?", path, nullptr))
        return 0;
    const AString file = ResolveFile(path);
    const int result = DeleteEntry(path);
    if (deleted)
        *deleted = result == 0;
    ForgetRemoteInfo(file);
    if (result != 0)
        LogFailure(AString("Failed to delete ") + GetEntryText(path, kWholeEntry, kLogTextWidth, 0), result);
    return result;
}

bool ASync::CompareFiles(const AString& a, const AString& b) {
    if (IsRemotePath(a) || IsRemotePath(b))
        return FilesMatch(a, b);
    if (!FilesMatch(a, b))
        return false;
    if (a == b)
        return true;
    AFile fileA;
    AFile fileB;
    if (fileA.Open(a, AFile::kModeRead, false) != 0 || fileB.Open(b, AFile::kModeRead, false) != 0)
        return false;
    std::vector<uint8_t> bufferA(kCompareChunkSize);
    std::vector<uint8_t> bufferB(kCompareChunkSize);
    for (;;) {
        uint32_t readA = 0;
        uint32_t readB = 0;
        if (fileA.Read(bufferA.data(), kCompareChunkSize, &readA) != 0 ||
            fileB.Read(bufferB.data(), kCompareChunkSize, &readB) != 0 || readA != readB)
            return false;
        if (!std::equal(bufferA.begin(), bufferA.begin() + readA, bufferB.begin()))
            return false;
        if (readA < kCompareChunkSize)
            return true;
    }
}

// ---- Options ----

void ASync::SetStopOnError(uint32_t stop) {
    m_options.stopOnError = stop;
    ForEachList([stop](ADir& list) { list.SetAskOnError(stop); });
}

void ASync::SetForceReadOnly(uint32_t force) {
    m_options.forceReadOnly = force;
    ForEachList([force](ADir& list) { list.SetCopyMode(force); });
}

void ASync::SetVerboseLog(uint32_t verbose) {
    m_options.verboseLog = verbose;
    ForEachList([verbose](ADir& list) { list.SetLogTime(verbose); });
}

void ASync::SetListOption(uint32_t option) {
    m_options.listOption = option;
    ForEachList([option](ADir& list) { list.SetRecordFlag(option); });
}

void ASync::SetTypeFilterMode(uint32_t mode) {
    if (mode == GetTypeFilterMode())
        return;
    ForEachList([mode](ADir& list) { list.SetFlags(mode); });
    ClearSnapshots();
}

void ASync::SetTypeIncludeList(const AString& types) {
    if (types.CompareNoCase(GetTypeIncludeList()) == 0)
        return;
    ForEachList([&types](ADir& list) { list.SetTypeList(types); });
    ClearSnapshots();
}

void ASync::SetTypeExcludeList(const AString& types) {
    if (types.CompareNoCase(GetTypeExcludeList()) == 0)
        return;
    ForEachList([&types](ADir& list) { list.SetExcludeTypeList(types); });
    ClearSnapshots();
}

void ASync::SetPathFilterMode(uint32_t mode) {
    if (mode == GetPathFilterMode())
        return;
    ForEachList([mode](ADir& list) { list.SetNameFilter(mode, list.GetKeepNames(), list.GetDropNames()); });
    ClearSnapshots();
}

void ASync::SetPathIncludeList(const AString& names) {
    if (names.CompareNoCase(GetPathIncludeList()) == 0)
        return;
    ForEachList(
        [&names](ADir& list) { list.SetNameFilter(list.GetNameFilterFlags(), names, list.GetDropNames()); });
    ClearSnapshots();
}

void ASync::SetPathExcludeList(const AString& names) {
    if (names.CompareNoCase(GetPathExcludeList()) == 0)
        return;
    ForEachList(
        [&names](ADir& list) { list.SetNameFilter(list.GetNameFilterFlags(), list.GetKeepNames(), names); });
    ClearSnapshots();
}

uint32_t ASync::GetTypeFilterMode() const {
    return m_directory1->GetTypeFilterFlags();
}

const AString& ASync::GetTypeIncludeList() const {
    return m_directory1->GetTypeList();
}

const AString& ASync::GetTypeExcludeList() const {
    return m_directory1->GetExcludeTypeList();
}

uint32_t ASync::GetPathFilterMode() const {
    return m_directory1->GetNameFilterFlags();
}

const AString& ASync::GetPathIncludeList() const {
    return m_directory1->GetKeepNames();
}

const AString& ASync::GetPathExcludeList() const {
    return m_directory1->GetDropNames();
}

// The sync keeps the text it handed on, so that setting the same list again keeps the snapshots.
int ASync::SetTypeList(const AString& types) {
    if (!m_optionsLock.TryLock())
        return 0;
    if (types.CompareNoCase(m_options.includeTypes) != 0) {
        m_options.includeTypes = types;
        ForEachList([&types](ADir& list) { list.SetTypeList(types); });
        ClearSnapshots();
    }
    m_optionsLock.Unlock();
    return 0;
}

int ASync::SetExcludeTypeList(const AString& types) {
    if (!m_optionsLock.TryLock())
        return 0;
    if (types.CompareNoCase(m_options.excludeTypes) != 0) {
        m_options.excludeTypes = types;
        ForEachList([&types](ADir& list) { list.SetExcludeTypeList(types); });
        ClearSnapshots();
    }
    m_optionsLock.Unlock();
    return 0;
}

// ---- The sync record ----

// The entry lists of both sides are emptied first (the record keeps their settings only), and so are
// the snapshots unless the sync runs both ways. A running sync refuses, so live lists stay as they are.
int ASync::Save(AFile& stream, uint32_t) {
    if (!m_optionsLock.TryLock())
        return kErrorBusy;
    int result = recordio::WriteU32(stream, kRecordVersion);
    if (result == 0)
        ResetLists();
    for (ADir* list : {m_directory1.get(), m_directory2.get(), m_snapshot1.get(), m_snapshot2.get()}) {
        if (result == 0)
            result = list->Save(stream, 0);
    }
    if (result == 0)
        result = m_options.Write(stream);
    m_optionsLock.Unlock();
    return result;
}

int ASync::Load(AFile& stream, uint32_t) {
    if (!m_optionsLock.TryLock())
        return kErrorBusy;
    int result = recordio::ReadVersion(stream, kRecordVersion);
    for (ADir* list : {m_directory1.get(), m_directory2.get(), m_snapshot1.get(), m_snapshot2.get()}) {
        if (result == 0)
            result = list->Load(stream, 0);
    }
    if (result == 0)
        result = m_options.Read(stream);
    m_optionsLock.Unlock();
    return result;
}
