#include "library/songlists/ADirPod.h"

#include "foundation/ErrorCodes.h"
#include "library/ipod/IPod.h"
#include "library/ipod/PodVolumes.h"
#include "library/itunes/ITunesSong.h"
#include "library/itunes/ProgressRange.h"
#include "library/itunes/ReadTunesPrefs.h"
#include "library/songlists/ADirPodDB.h"
#include "library/songlists/PodRemovedFiles.h"

namespace {

constexpr double kHalf = 0.5;

bool IsUnknownID(const AString& id) {
    return id.IsEmpty() || id.CompareNoCase(IPod::kUnknownID) == 0;
}

} // namespace

ADirPod::ADirPod(AProgress* progress) : ADirTunesSource(progress), m_podId(IPod::kUnknownID) {
    m_filters.types.keep = kSongTypes;
    AString account;
    if (ReadTunesPrefs(account) == 0)
        m_allowedAppleIDs = AString(":") + account + ":";
    m_rootPath = kRootMarker;
}

ADirPod::~ADirPod() = default;

AString ADirPod::RootOf(const AString& podName) {
    return AString(kRootMarker) + podName + "*";
}

IPod* ADirPod::GetPod() const {
    // Every client of this list is made by NewClient.
    return static_cast<IPod*>(GetClient());
}

std::unique_ptr<ITunes> ADirPod::NewClient() const {
    auto pod = std::make_unique<IPod>();
    pod->SetFolderLayout(m_layout);
    return pod;
}

int ADirPod::ConnectTemporaryClient(std::unique_ptr<ITunes>& client) const {
    client = NewClient();
    if (const int result = client->Connect())
        return result;
    return SelectNamedPod(static_cast<IPod&>(*client));
}

ITunes* ADirPod::ClientForChanges() const {
    IPod* pod = GetPod();
    return pod && pod->IsPodSelected() ? pod : nullptr;
}

// --- Finding the iPod ---

AString ADirPod::PodNameOfRoot() const {
    const AString marker(kRootMarker);
    if (m_rootPath.Left(marker.GetLength()) != marker || m_rootPath.GetLength() <= marker.GetLength())
        return AString();
    return m_rootPath.Mid(marker.GetLength(), m_rootPath.GetLength() - marker.GetLength() - 1);
}

AString ADirPod::GetPodNameFromRoot() const {
    const AString marker(kRootMarker);
    if (m_rootPath.Left(marker.GetLength()) != marker)
        return AString();
    const AString rest = m_rootPath.Mid(marker.GetLength());
    const int end = rest.Find(u'*');
    return end < 0 ? rest : rest.Left(end);
}

int ADirPod::SelectNamedPod(IPod& pod) const {
    const AString name = PodNameOfRoot();
    int count = 0;
    if (const int result = pod.GetPodCount(count))
        return result;
    for (int i = 0; i < count; ++i) {
        AString sourceName;
        if (const int result = pod.GetPodSourceName(sourceName, i))
            return result;
        if (sourceName == name)
            return pod.SelectPod(i);
    }
    return 0;
}

int ADirPod::FindPodVolume(const CancelCallback& callback) {
    PodVolume volume;
    if (!FindIPodVolume(PodNameOfRoot(), volume))
        return 0;
    IPod& pod = *GetPod();
    pod.SetDrive(volume.root);
    if (const int result = pod.ReadPodDB(callback, m_logTime ? m_progress : nullptr))
        return result;
    if (const int result = pod.GetPodID(volume.root))
        return result;
    m_podId = pod.GetIdentifier();
    return 0;
}

void ADirPod::FixRemovedFilesFolder() {
    m_removedFilesFolder =
        PodRemovedFilesFolder(m_removedFilesFolder, GetPod() ? GetPod()->GetDrive() : AString());
}

void ADirPod::SetRootPath(const AString& path) {
    m_rootPath = path;
    DropClient();
    m_client = NewClient();
    // Nothing is read here: what cannot be reached now is reached, or reported, by ReadDirectory.
    if (m_client->Connect() == 0)
        SelectNamedPod(*GetPod());
    PodVolume volume;
    if (FindIPodVolume(PodNameOfRoot(), volume)) {
        GetPod()->SetDrive(volume.root);
        if (GetPod()->GetPodID(volume.root) == 0)
            m_podId = GetPod()->GetIdentifier();
    }
    FixRemovedFilesFolder();
}

int ADirPod::Open(const AString* path, uint32_t, const CancelCallback& callback) {
    if (path)
        m_rootPath = *path;
    Clear();
    return ReadDirectory(callback, 0);
}

// A playlist name that the iPod does not have is an error: an empty list would make a sync delete the
// songs on the other side.
int ADirPod::ReadDirectory(const CancelCallback& callback, uint32_t) {
    DropClient();
    m_client = NewClient();
    if (const int result = m_client->Connect())
        return result;
    if (const int result = SelectNamedPod(*GetPod()))
        return result;
    {
        ProgressRange database(m_progress, kHalf, nullptr);
        if (const int result = FindPodVolume(callback))
            return result;
    }
    ProgressRange songs(m_progress, kHalf, nullptr);
    const bool limited = !m_playListName.IsEmpty();
    if (const int result = m_client->Reload(limited, m_playListName, &m_filters, callback, m_progress))
        return result;
    songs.Close(nullptr);
    FixRemovedFilesFolder();
    FindPlayList();
    return 0;
}

void ADirPod::Clear() {
    if (GetPod() && !IsUnknownID(GetPod()->GetIdentifier()))
        m_podId = GetPod()->GetIdentifier();
    DropClient();
    m_client = NewClient();
    GetPod()->SetIdentifier(m_podId);
}

AString ADirPod::GetPodID() {
    IPod* pod = GetPod();
    if (!pod || !IsUnknownID(m_podId))
        return m_podId;
    if (pod->GetIdentifier() == IPod::kUnknownID)
        pod->GetPodID(pod->GetDrive());
    return pod->GetIdentifier();
}

void ADirPod::SetPodID(const AString& id) {
    m_podId = id;
    if (IPod* pod = GetPod())
        pod->SetIdentifier(id);
}

// --- Songs ---

int ADirPod::DeleteFile(const AString& entry, uint32_t byID, uint32_t skip) {
    return DeleteEntrySong(entry, byID, skip, true, false);
}

uint32_t ADirPod::FileExists(const AString& entry) {
    const ITunesSong* song = FindEntrySong(entry, false);
    return song && (!m_keptPlayList || InKeptPlayList(*song, false)) ? 1 : 0;
}

int ADirPod::AddSong(const AString& file, const CancelCallback&) {
    return AddSongFile(file);
}

int ADirPod::AddTrackFile(const AString& path, const AString* key) {
    ITunesSong* song = nullptr;
    return AddTrack(path, key, false, song);
}

int ADirPod::AddFileToLibrary(const AString& file, AString& keptFile, const CancelCallback&) {
    ITunesSong* song = nullptr;
    const int result = AddTrack(file, nullptr, false, song);
    keptFile = song ? song->GetPath() : AString();
    return result;
}

// --- Describing the iPod ---

AString& ADirPod::GetDescription(AString& out, uint32_t noPrefix) {
    AString name;
    if (IPod* pod = GetPod())
        pod->GetName(name, false);
    out = noPrefix ? AString() : AString("iPod: ") + name + " ";
    out += m_playListName.IsEmpty() ? AString("Main Library") : AString("Playlist: ") + m_playListName;
    return out;
}

void ADirPod::GetMusicFolder(AString& out) {
    PodVolume volume;
    out = FindIPodVolume(PodNameOfRoot(), volume) ? volume.root : AString();
}

int ADirPod::GetPlayListNames(std::vector<AString>& names, uint32_t withLibrary, uint32_t) {
    return ADirTunesSource::GetPlayListNames(names, withLibrary, 0);
}

// --- Settings and the saved form ---

void ADirPod::CopySettings(const ADir& other) {
    if (const auto* pod = dynamic_cast<const ADirPod*>(&other)) {
        ADirSong::CopySettings(other);
        SetPodID(pod->m_podId);
        m_entryBuffer = pod->m_entryBuffer;
        m_playListName = pod->m_playListName;
        return;
    }
    if (const auto* database = dynamic_cast<const ADirPodDB*>(&other)) {
        ADirSong::CopySettings(other);
        SetPodID(database->GetStoredPodID());
    }
}

int ADirPod::Save(AFile& stream, uint32_t flag) {
    if (const int result = SaveClientRecord(stream, flag, kPodRecordWord))
        return result;
    return m_podId.Serialize(stream);
}

int ADirPod::Load(AFile& stream, uint32_t flag) {
    if (const int result = LoadClientRecord(stream, flag, kPodRecordWord))
        return result;
    return m_podId.Load(stream);
}
