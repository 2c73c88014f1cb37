#include "app/devices/DeviceLists.h"

#include "foundation/ErrorCodes.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/ITunesDBPlayList.h"
#include "library/itunes/ITunes.h"
#include "widgets/QtText.h"

namespace {

const char* const kLibraryProblem =
    "There was a problem communicating with iTunes.\nThis may be due to an opened dialog in iTunes,\n"
    "or iTunes may not be installed.";
const char* const kUpdateProblem =
    "There was a problem communicating with iTunes.\nThis may be due to an opened dialog in iTunes.";

// A library file that cannot be read is named, with why: the user can mend that file.
QString LibraryQuestion(int result) {
    if (result != kErrorLibraryUnreadable)
        return QLatin1String(kLibraryProblem);
    return QStringLiteral("The iTunes library file cannot be read:\n%1").arg(ToQString(ITunes::LibraryProblem()));
}

QString MissingVolumeQuestion(const AString& name) {
    return QStringLiteral("Failed to find volume for iPod \"%1\".\nThe volume may be temporarily in use.\n"
                          "Retry scanning?")
        .arg(ToQString(name));
}

// The volume whose database names the iPod; the last one when several do.
const PodVolume* VolumeNamed(const std::vector<PodVolume>& volumes, const AString& name) {
    const PodVolume* found = nullptr;
    for (const PodVolume& volume : volumes) {
        if (volume.name == name)
            found = &volume;
    }
    return found;
}

std::vector<AString> PlayListNames(const ITunesDB& database) {
    std::vector<AString> names;
    for (int i = 0; i < database.GetPlayListCount(); ++i) {
        AString name;
        if (const ITunesDBPlayList* playList = database.GetPlayList(i, 2); playList && playList->GetName(name) == 0)
            names.push_back(name);
    }
    return names;
}

PodModelInfo ModelOf(const AString& drive) {
    PodModelInfo model;
    if (!drive.IsEmpty())
        GetIPodModelInfo(drive, model);
    return model;
}

} // namespace

DeviceLists::DeviceLists(LibraryClient* library) : m_library(library) {}

DeviceLists::~DeviceLists() = default;

void DeviceLists::Clear() {
    m_pods.clear();
    m_databases.clear();
}

bool DeviceLists::ConnectLibrary(DeviceListHost& host) {
    int result = m_library ? m_library->Reconnect() : kErrorNotConnected;
    while ((m_detected = result == 0) == false) {
        if (!host.AskRetry(LibraryQuestion(result))) {
            host.RequestExit();
            return false;
        }
        result = m_library ? m_library->Reconnect() : kErrorNotConnected;
    }
    return true;
}

int DeviceLists::Update(DeviceListHost& host) {
    for (;;) {
        Clear();
        if (!ConnectLibrary(host))
            return 0;
        m_library->GetVersion(m_version, m_versionNumber);
        m_volumes = FindIPodVolumes();
        bool rescan = false;
        if (const int result = AddLibraryPods(host, rescan))
            return result;
        if (!rescan)
            return AddDatabases();
    }
}

int DeviceLists::AddLibraryPods(DeviceListHost& host, bool& rescan) {
    if (const int result = m_library->LoadPlayLists())
        return result;
    int count = 0;
    if (const int result = m_library->GetPodCount(count))
        return result;
    for (int i = 0; i < count; ++i) {
        PodStep step = PodStep::Added;
        if (const int result = AddLibraryPod(i, host, step))
            return result;
        if (step == PodStep::Rescan) {
            rescan = true;
            return 0;
        }
    }
    return 0;
}

int DeviceLists::AddLibraryPod(int index, DeviceListHost& host, PodStep& step) {
    Pod pod;
    if (const int result = m_library->OpenPod(index, pod.pod))
        return result;
    if (const int result = pod.pod->GetName(pod.name))
        return result;
    const PodVolume* volume = VolumeNamed(m_volumes, pod.name);
    if (!volume) {
        if (host.AskRetry(MissingVolumeQuestion(pod.name))) {
            step = PodStep::Rescan;
            return 0;
        }
        host.LogWarning(ToAString(QStringLiteral("Failed to find volume for iPod \"%1\", ignoring iPod. \r\n)")
                                      .arg(ToQString(pod.name))));
        step = PodStep::Skipped;
        return 0;
    }
    pod.drive = volume->root;
    pod.pod->SetDrive(pod.drive);
    if (const int result = pod.pod->ReadPodID(pod.drive, pod.id))
        return result;
    pod.model = ModelOf(pod.drive);
    pod.playLists = pod.pod->PlayListNames();
    m_pods.push_back(std::move(pod));
    return 0;
}

int DeviceLists::AddDatabases() {
    for (const PodVolume& volume : m_volumes) {
        if (volume.name.IsEmpty())
            continue;
        Database entry{std::make_unique<ITunesDB>(), volume.name, volume.root, {}, ModelOf(volume.root), {}};
        if (const int result = entry.database->Read(volume.root, true))
            return result;
        if (const int result = entry.database->GetPodID(volume.root))
            return result;
        entry.id = entry.database->GetPodIDText();
        entry.playLists = PlayListNames(*entry.database);
        m_databases.push_back(std::move(entry));
    }
    return 0;
}

int DeviceLists::UpdateUntilDone(DeviceListHost& host) {
    for (;;) {
        const int result = Update(host);
        if (result == 0)
            return 0;
        if (host.CloseRequested())
            return result;
        if (!host.AskRetry(QLatin1String(kUpdateProblem))) {
            host.RequestExit();
            return result;
        }
    }
}

std::optional<AString> DeviceLists::SharedPodName() const {
    // Both lists count: a volume is listed by its database when the library does not show it.
    std::vector<AString> names;
    for (const Pod& pod : m_pods)
        names.push_back(pod.name);
    for (const Database& database : m_databases) {
        if (!HasPodWithID(database.id))
            names.push_back(database.name);
    }
    for (size_t i = 0; i < names.size(); ++i) {
        for (size_t j = i + 1; j < names.size(); ++j) {
            if (names[i].CompareNoCase(names[j]) == 0)
                return names[i];
        }
    }
    return std::nullopt;
}

QString DeviceLists::DuplicateNameMessage(const AString& name) {
    return QStringLiteral("More than 1 iPod with the name \"") + ToQString(name) +
           QStringLiteral("\" was found.\niPods must have unique names for Orvantis to function properly.\n)"
                          "After making the approprate changes, run Orvantis again.");
}

bool DeviceLists::HasPodWithID(const AString& id) const {
    for (const Pod& pod : m_pods) {
        if (pod.id == id)
            return true;
    }
    return false;
}

ChooserEntries DeviceLists::MakeChooserEntries(const std::vector<FoundHost>& hosts, DeviceListHost& host,
                                               bool verbose) const {
    ChooserEntries entries;
    const int podCount = static_cast<int>(m_pods.size());
    for (int i = 0; i < podCount; ++i) {
        const Pod& pod = m_pods[i];
        entries.push_back({ToQString(pod.name), ChooserKind::LibraryPod, i, pod.model});
        if (pod.drive.IsEmpty() || pod.id.IsEmpty() || pod.id == kNoPodID) {
            host.LogWarning(ToAString(QStringLiteral("WARNING: IPod %1 of %2 Model = \"%3\" Location = \"%4\" "
                                                     "Quelloran Serial = \"%5\" in UpdatePlayListsIPodsLists() \r\n")
                                          .arg(i + 1)
                                          .arg(podCount)
                                          .arg(ToQString(pod.model.modelNumber), ToQString(pod.drive),
                                               ToQString(pod.id))));
        }
    }
    const int databaseCount = static_cast<int>(m_databases.size());
    for (int i = 0; i < databaseCount; ++i) {
        const Database& database = m_databases[i];
        if (database.name.IsEmpty() || database.drive.IsEmpty()) {
            host.LogWarning(ToAString(QStringLiteral("WARNING: IPodDB %1 of %2 Name = \"%3\" Location = \"%4\" "
                                                     "int UpdatePlayListsIPodsLists() \r\n")
                                          .arg(i + 1)
                                          .arg(databaseCount)
                                          .arg(ToQString(database.name), ToQString(database.drive))));
        }
        if (HasPodWithID(database.id))
            continue;
        entries.push_back({ToQString(database.name), ChooserKind::PodDatabase, i, database.model});
        if (verbose)
            host.LogWarning(AString("IPod not matched, set as IPodDB in UpdatePlayListsIPodsLists() \r\n"));
    }
    if (!entries.empty())
        entries.push_back(ChooserEntry::Separator());
    for (size_t i = 0; i < hosts.size(); ++i) {
        const QString name = QString::fromLocal8Bit(hosts[i].name).left(FoundHost::kNameSize);
        entries.push_back(ChooserEntry::Host(name, static_cast<int>(i)));
    }
    if (!hosts.empty())
        entries.push_back(ChooserEntry::Separator());
    entries.push_back(ChooserEntry::Connect());
    return entries;
}
