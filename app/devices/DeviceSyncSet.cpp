#include "app/devices/DeviceSyncSet.h"

#include "app/state/SyncSetNames.h"
#include "foundation/AProgress.h"
#include "foundation/ErrorTexts.h"
#include "foundation/FileOps.h"
#include "library/songlists/ADirPod.h"
#include "library/songlists/ADirPodDB.h"
#include "library/songlists/ADirTunes.h"
#include "remote/ADirTunesRemote.h"
#include "remote/FoundHost.h"
#include "remote/SyncSetsFolder.h"
#include "sync/ASyncLib.h"
#include "sync/SongListFactory.h"
#include "sync/SyncModeTables.h"
#include "widgets/QtText.h"

namespace {

QString ReadFailureMessage(const QString& what, int code, const char* madeAnew) {
    AString error;
    GetErrorText(error, code);
    return what + ToQString(error) + QStringLiteral("\r\n") + QLatin1String(madeAnew);
}

QString DeviceSetFailure(const DeviceSyncSet::Device* device, int code) {
    QString what = QStringLiteral("Error occured while reading default Sync set");
    if (device && device->name.IsEmpty())
        what = QStringLiteral("Error occured while reading Sync set for selected iPod");
    else if (device)
        what = QStringLiteral("Error occured while reading Sync set for iPod \"%1\"").arg(ToQString(device->name));
    return ReadFailureMessage(what, code, device ? "A new Sync set has been created." : "A new default Sync set has been created.");
}

// A song sync names the playlist on its snapshot too, and forgets a snapshot taken under another one.
void NamePlayList(ASync& sync, ASync::Side side, const AString& name) {
    if (auto* songSync = dynamic_cast<ASyncLib*>(&sync))
        songSync->SetPlayListName(side, name);
    else
        (side == ASync::kSide1 ? sync.GetDirectory1() : sync.GetDirectory2()).SetPlayListName(name);
}

bool SameID(const AString& a, const AString& b) {
    return a.CompareNoCase(b) == 0;
}

} // namespace

uint32_t DeviceSyncSet::ListTypeOf(ChooserKind kind) {
    return kind == ChooserKind::PodDatabase ? ADir::kTypePodDB : ADir::kTypePod;
}

void DeviceSyncSet::RegisterRemoteList() {
    SongListFactory::Register(ADir::kTypeTunesRemote,
                              [](AProgress* progress) { return std::make_unique<ADirTunesRemote>(progress); });
}

bool DeviceSyncSet::Binding::IsRemote() const {
    return type == ADir::kTypeTunesRemote;
}

DeviceSyncSet::DeviceSyncSet(AProgress* progress, ProgressStatusView* status, AString workFolder)
    : m_progress(progress), m_status(status), m_workFolder(std::move(workFolder)), m_set(NewSet()) {}

DeviceSyncSet::~DeviceSyncSet() = default;

bool DeviceSyncSet::SetFile(const AString& stem, AString& path) {
    if (!GetSyncSetsFolder(path))
        return false;
    path.AppendPath(SyncSetNames::SyncSetFile(stem));
    return true;
}

void DeviceSyncSet::SetSeams(SyncActionPresenter* presenter, SyncHost* host) {
    m_presenter = presenter;
    m_host = host;
    m_set->SetPresenter(presenter);
    m_set->SetHost(host);
}

std::unique_ptr<SyncSet> DeviceSyncSet::NewSet() const {
    auto set = std::make_unique<SyncSet>(m_progress);
    set->SetProgress(0, m_status);
    set->SetPresenter(m_presenter);
    set->SetHost(m_host);
    return set;
}

ASync* DeviceSyncSet::First() const {
    return m_set->GetSync(0);
}

std::unique_ptr<SyncSet> DeviceSyncSet::Read(const AString& path, int& result) const {
    std::unique_ptr<SyncSet> set = NewSet();
    result = set->Load(path);
    if (result == 0 && set->GetSyncCount() == 0)
        result = kErrorNotADevice;
    return result == 0 ? std::move(set) : nullptr;
}

QString DeviceSyncSet::LoadDefault(int setting) {
    AString path;
    if (!SetFile(AString(SyncSetNames::kNoDevice), path) || !FileExists(path))
        return {};
    int result = 0;
    std::unique_ptr<SyncSet> set = Read(path, result);
    const bool remote = set && set->GetSync(0)->GetDirectory2().GetType() == ADir::kTypeTunesRemote;
    if (set && !remote) {
        m_set = std::move(set);
        return {};
    }
    m_set = NewSet();
    NewDefaultSync(nullptr, AString(), AString(), setting);
    SaveAs(AString(SyncSetNames::kNoDevice));
    return remote ? QString() : DeviceSetFailure(nullptr, result);
}

bool DeviceSyncSet::Belongs(const Binding& binding, const Device* device) {
    if (!device)
        return binding.id.IsEmpty() || SameID(binding.id, AString(SyncSetNames::kNoDevice));
    return binding.type == ListTypeOf(device->kind) && SameID(binding.id, device->id);
}

int DeviceSyncSet::LoadRecent(const Device* device, int setting, QString& message) {
    int bound = 0;
    if (const std::optional<Binding> binding = Bound(bound); binding && Belongs(*binding, device))
        return 0;
    Save();
    const AString stem = device ? SyncSetNames::DeviceStem(device->id) : AString(SyncSetNames::kNoDevice);
    AString path;
    int result = 0;
    std::unique_ptr<SyncSet> loaded;
    if (SetFile(stem, path) && FileExists(path))
        loaded = Read(path, result);
    if (loaded) {
        m_set = std::move(loaded);
    } else {
        m_set = NewSet();
        NewDefaultSync(device, AString(), AString(), setting);
        if (result != 0)
            message = DeviceSetFailure(device, result);
    }
    if (device)
        Bind(*device);
    return result;
}

void DeviceSyncSet::Bind(const Device& device) {
    ASync* first = First();
    if (!first)
        return;
    ADir& side2 = first->GetDirectory2();
    if (auto* pod = dynamic_cast<ADirPod*>(&side2))
        pod->SetPodID(device.id);
    else if (auto* database = dynamic_cast<ADirPodDB*>(&side2))
        database->SetPodID(device.id);
}

std::unique_ptr<ASyncLib> DeviceSyncSet::MakeSync(uint32_t type2, const AString& root2, const AString& playList1,
                                                  const AString& playList2, int setting, int& result) const {
    auto sync = std::make_unique<ASyncLib>(ADir::kTypeTunes, type2, m_progress);
    sync->SetProgress(m_status);
    if (auto* database = dynamic_cast<ADirPodDB*>(&sync->GetDirectory2()))
        database->SetWorkFolder(m_workFolder);
    uint32_t direction = sync->GetDirection();
    uint32_t deleteMode = sync->GetDeleteMode();
    SyncModeSettings(setting, direction, deleteMode);
    const AString root1(ADirTunes::kRootMarker);
    if ((result = sync->BuildList1(&root1, {}, false, true)) != 0)
        return nullptr;
    NamePlayList(*sync, ASync::kSide1, playList1);
    if ((result = sync->BuildList2(&root2, {}, false, true)) != 0)
        return nullptr;
    NamePlayList(*sync, ASync::kSide2, playList2);
    sync->SetDirection(direction);
    sync->SetDeleteMode(deleteMode);
    return sync;
}

int DeviceSyncSet::NewDefaultSync(const Device* device, const AString& playList1, const AString& playList2,
                                  int setting) {
    uint32_t type = ADir::kTypePod;
    AString root = ADirPod::RootOf(AString());
    if (device && device->kind == ChooserKind::PodDatabase) {
        type = ADir::kTypePodDB;
        root = device->drive;
    } else if (device) {
        root = ADirPod::RootOf(device->name);
    }
    int result = 0;
    std::unique_ptr<ASyncLib> sync = MakeSync(type, root, playList1, playList2, setting, result);
    if (!sync)
        return result;
    if (device && device->family == ADirPodDB::kVideoFamily)
        sync->SetTypeIncludeList(ADirPodDB::WithVideoTypes(sync->GetTypeIncludeList()));
    const auto* old = dynamic_cast<const ASyncLib*>(First());
    if (old && old->GetList2RootPath().CompareNoCase(sync->GetList2RootPath()) == 0)
        sync->CopySyncOptions(*old, true);
    return m_set->ReplaceFirstSync(std::move(sync));
}

int DeviceSyncSet::MakeRemote(RemotePeer* link, const FoundHost& host, int setting) {
    Save();
    const AString name = AString::FromUtf8(host.name);
    AString path;
    int result = 0;
    std::unique_ptr<SyncSet> loaded;
    if (SetFile(name, path) && FileExists(path))
        loaded = Read(path, result);
    if (loaded && loaded->GetSync(0)->GetDirectory2().GetType() == ADir::kTypeTunesRemote) {
        m_set = std::move(loaded);
    } else {
        // A host named like a device finds that device's set: it is kept aside before the host's
        // set is saved in its place.
        if (loaded)
            CopyFileLong(path, path + SyncSet::kBadFileSuffix, false);
        m_set = NewSet();
        const AString root(ADirTunesRemote::kRootMarker);
        std::unique_ptr<ASyncLib> sync = MakeSync(ADir::kTypeTunesRemote, root, AString(), AString(), setting, result);
        if (!sync)
            return result;
        m_set->ReplaceFirstSync(std::move(sync));
    }
    ASync* first = First();
    // The snapshots connect with their sides: they reach the host too.
    for (ADir* side :
         {&first->GetDirectory1(), &first->GetSnapshot1(), &first->GetDirectory2(), &first->GetSnapshot2()}) {
        if (auto* remote = dynamic_cast<ADirTunesRemote*>(side)) {
            remote->SetLink(link);
            remote->SetServerAddress(host.address, &name);
        }
    }
    return 0;
}

std::optional<DeviceSyncSet::Binding> DeviceSyncSet::Bound(int& result) const {
    result = 0;
    ASync* first = First();
    if (!first)
        return std::nullopt;
    Binding binding;
    ADir& side2 = first->GetDirectory2();
    binding.type = side2.GetType();
    if (auto* pod = dynamic_cast<ADirPod*>(&side2)) {
        binding.id = pod->GetPodID();
        binding.name = pod->GetPodNameFromRoot();
    } else if (auto* database = dynamic_cast<ADirPodDB*>(&side2)) {
        binding.id = database->GetPodID();
        binding.name = database->GetPodName();
    } else if (auto* remote = dynamic_cast<ADirTunesRemote*>(&side2)) {
        binding.id = remote->GetServerName();
    } else {
        result = kErrorUnknownBinding;
        return std::nullopt;
    }
    first->GetDirectory1().GetPlayListName(binding.playList1);
    side2.GetPlayListName(binding.playList2);
    return binding;
}

AString DeviceSyncSet::RemoteAddress() const {
    const ADirTunesRemote* remote = RemoteSide();
    return remote ? AString::FromUtf8(remote->GetServerAddress()) : AString();
}

int DeviceSyncSet::Save() {
    int result = 0;
    const std::optional<Binding> binding = Bound(result);
    if (!binding)
        return result == 0 ? 0 : kErrorUnnamedSet;
    if (binding->IsRemote())
        return SaveAs(binding->id);
    return SaveAs(SyncSetNames::DeviceStem(binding->id));
}

int DeviceSyncSet::SaveAs(const AString& stem) {
    AString path;
    if (!SetFile(stem, path))
        return kErrorUnnamedSet;
    return m_set->Save(path);
}

int DeviceSyncSet::Setting() const {
    const ASync* first = First();
    return first ? SyncModeOf(first->GetDirection(), first->GetDeleteMode()) : kModeNone;
}

void DeviceSyncSet::ApplySetting(int setting) {
    uint32_t direction = 0;
    uint32_t deleteMode = 0;
    if (!SyncModeSettings(setting, direction, deleteMode))
        return;
    for (int i = 0; i < m_set->GetSyncCount(); ++i) {
        m_set->GetSync(i)->SetDirection(direction);
        m_set->GetSync(i)->SetDeleteMode(deleteMode);
    }
}

bool DeviceSyncSet::RunsByItself(const AString& id) const {
    AString path;
    if (!SetFile(SyncSetNames::DeviceStem(id), path) || !FileExists(path))
        return false;
    int result = 0;
    const std::unique_ptr<SyncSet> set = Read(path, result);
    for (int i = 0; set && i < set->GetSyncCount(); ++i) {
        if (set->GetSync(i)->GetAutoRunSync() != 0)
            return true;
    }
    return false;
}

void DeviceSyncSet::FollowDrive(const Device& device) {
    ASync* first = First();
    if (!first || device.kind != ChooserKind::PodDatabase || device.drive.IsEmpty() ||
        first->GetList2RootPath() == device.drive.WithTrailingSeparator())
        return;
    first->BuildList2(&device.drive, {}, false, true);
}

void DeviceSyncSet::SetPlayLists(const AString& playList1, const AString& playList2) {
    SetPlayList(false, playList1);
    SetPlayList(true, playList2);
}

void DeviceSyncSet::SetPlayList(bool side2, const AString& name) {
    if (ASync* first = First())
        NamePlayList(*first, side2 ? ASync::kSide2 : ASync::kSide1, name);
}

ADirTunesRemote* DeviceSyncSet::RemoteSide() const {
    ASync* first = First();
    return first ? dynamic_cast<ADirTunesRemote*>(&first->GetDirectory2()) : nullptr;
}

void DeviceSyncSet::ClearPlayList(bool side2) {
    ASync* first = First();
    if (!first)
        return;
    NamePlayList(*first, side2 ? ASync::kSide2 : ASync::kSide1, AString());
    (side2 ? first->GetSnapshot2() : first->GetSnapshot1()).Clear();
}
