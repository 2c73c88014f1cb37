#include "library/ipod/IPod.h"

#include "foundation/ACrc32.h"
#include "foundation/AFile.h"
#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "library/entries/SongFilters.h"
#include "library/ipod/ITunesDB.h"
#include "library/itunes/GuardedCall.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/itunes/ITunesSong.h"
#include "library/itunes/ITunesStatusCode.h"
#include "library/itunes/ITunesTrackValues.h"
#include "platform/itunes/Application.h"
#include "platform/itunes/Playlist.h"
#include "platform/itunes/PlaylistCollection.h"
#include "platform/itunes/Source.h"
#include "platform/itunes/Track.h"
#include "platform/volumes/VolumeTable.h"

#include <cstdio>

using itunesapp::PlaylistKind;
using itunesapp::Status;
using itunesapp::Track;

namespace {

int Code(Status status) {
    return ITunesStatusCode(status);
}

AString IdentifierText(uint32_t number) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(number));
    return AString(digits);
}

bool PassesTextFilters(const SongFilters& filter, const ITunesTrackValues& values,
                       const EntryLayout& layout) {
    return filter.PassesGenre(values.genre, layout) && filter.PassesArtist(values.artist) &&
           filter.PassesAlbum(values.album, layout) && filter.PassesTitle(values.name);
}

} // namespace

IPod::IPod() : ITunes(nullptr) {
    m_sideKind = ITunesTrackBinding::kPod;
    m_sourceWord = "iPod";
}

IPod::~IPod() = default;

int IPod::SelectPod(int index) {
    if (index >= 0)
        m_selected = index;
    std::shared_ptr<itunesapp::Source> source;
    int32_t sourceID = 0;
    if (const int result = FindPodSource(m_selected, source, sourceID))
        return result;
    m_source = std::move(source);
    return 0;
}

int IPod::GetName(AString& out, bool refresh) {
    if (!refresh) {
        out = GetLibraryName();
        return 0;
    }
    return Guarded(kErrorPodSourceGetName, [&] {
        if (!m_source)
            return kErrorInvalidElement;
        std::u16string name;
        if (const int result = Code(m_source->GetName(name)))
            return result;
        SetLoadedName(AString(std::move(name)));
        out = GetLibraryName();
        return 0;
    });
}

int IPod::GetPodID(const AString& drive) {
    m_podID = kUnknownID;
    nativevolumes::Volume volume;
    if (!nativevolumes::VolumeTable::Instance().Find(drive.ToSystem8Bit(), volume))
        return kErrorPodSourceVolumeInfo;
    uint32_t number = volume.serial;
    AString name;
    if (number == 0) {
        int named = GetName(name, false);
        if (named == 0 && name.IsEmpty())
            named = GetName(name, true);
        if (named == 0) {
            ACrc32 crc;
            crc.Update(name);
            number = crc.GetValue();
        }
    }
    m_podID = IdentifierText(number);
    return 0;
}

int IPod::ReadPodDB(const CancelCallback& cancel, AProgress* progress) {
    m_database = std::make_unique<ITunesDB>();
    return m_database->ReadLibrary(&m_drive, false, cancel, progress);
}

// --- The iPod's playlists ---

int IPod::SourcePlayLists(std::shared_ptr<itunesapp::PlaylistCollection>& playLists) const {
    if (!m_source)
        return kErrorInvalidElement;
    return Code(m_source->GetPlaylists(playLists));
}

int IPod::FindMainPlayList(const itunesapp::PlaylistCollection& playLists,
                           std::shared_ptr<itunesapp::Playlist>& main) const {
    int32_t count = 0;
    if (const int result = Code(playLists.GetCount(count)))
        return result;
    for (int32_t i = 1; i <= count; ++i) {
        std::shared_ptr<itunesapp::Playlist> playList;
        PlaylistKind kind{};
        if (const int result = Code(playLists.GetItem(i, playList)))
            return result;
        if (const int result = Code(playList->GetKind(kind)))
            return result;
        if (kind == PlaylistKind::Library) {
            main = std::move(playList);
            return 0;
        }
    }
    return kErrorITunesCall;
}

int IPod::LoadPlayLists(bool keepSongs) {
    return Guarded(kErrorPodSourceLoadPlayLists, [&] {
        if (keepSongs)
            PlayLists().clear();
        else
            ClearSongIndex();
        std::shared_ptr<itunesapp::PlaylistCollection> playLists;
        std::shared_ptr<itunesapp::Playlist> main;
        if (const int result = SourcePlayLists(playLists))
            return result;
        if (const int result = FindMainPlayList(*playLists, main))
            return result;
        if (const int result = TakeLibraryPlayList(*main))
            return result;
        return ReadPlayLists(*playLists, false, AString(), nullptr, nullptr);
    });
}

int IPod::CreatePlayList(const AString& name, ITunesPlayList** created) {
    return Guarded(kErrorPodSourceCreatePlayList, [&] {
        if (!m_source)
            return kErrorInvalidElement;
        if (const int result = Probe())
            return result;
        std::shared_ptr<itunesapp::Playlist> playList;
        if (const int result =
                Code(GetApplication()->CreatePlaylistInSource(name.GetCString(), *m_source, playList)))
            return result;
        return KeepCreatedPlayList(playList, created);
    });
}

int IPod::DeletePlayListByName(const AString& name) {
    return Guarded(kErrorPodSourceDeletePlayList, [&] {
        std::shared_ptr<itunesapp::PlaylistCollection> playLists;
        if (const int result = SourcePlayLists(playLists))
            return result;
        return DeleteNamedPlayList(*playLists, name);
    });
}

// --- The master list ---

int IPod::LoadMasterList(bool withPlayListSongs, const AString& playListName, const SongFilters* filter,
                         const CancelCallback& cancel, AProgress* progress) {
    return Guarded(kErrorPodSourceLoadMasterList, [&] {
        return LoadMasterListSteps(withPlayListSongs, playListName, filter, cancel, progress);
    });
}

int IPod::LoadMasterListSteps(bool withPlayListSongs, const AString& playListName, const SongFilters* filter,
                              const CancelCallback& cancel, AProgress* progress) {
    std::shared_ptr<itunesapp::PlaylistCollection> playLists;
    std::shared_ptr<itunesapp::Playlist> chosen;
    if (const int result = SourcePlayLists(playLists))
        return result;
    if (const int result = ChooseMasterPlayList(*playLists, playListName, chosen))
        return result;
    if (const int result = TakeMasterPlayList(*chosen))
        return result;
    if (const int result =
            ReadMasterTracks(*chosen, cancel, progress, [&](const std::shared_ptr<Track>& track) {
                return ReadPodTrack(track, filter, progress);
            }))
        return result;
    return ReadPlayLists(*playLists, withPlayListSongs, playListName, cancel, progress);
}

// A name that no playlist has is an error: an empty list would make a sync delete on the other side.
int IPod::ChooseMasterPlayList(const itunesapp::PlaylistCollection& playLists, const AString& playListName,
                               std::shared_ptr<itunesapp::Playlist>& chosen) const {
    if (playListName.IsEmpty())
        return FindMainPlayList(playLists, chosen);
    if (playLists.GetItemByName(playListName.GetCString(), chosen) != Status::Ok)
        return kErrorInvalidPlayList;
    return 0;
}

// The name is the iPod's, whichever of its playlists is read.
int IPod::TakeMasterPlayList(const itunesapp::Playlist& chosen) {
    if (const int result = TakeLibraryPlayList(chosen))
        return result;
    std::u16string name;
    if (const int result = Code(m_source->GetName(name)))
        return result;
    SetLoadedName(AString(std::move(name)));
    return 0;
}

// The application is not asked where the file is: the iPod's own database names it. The filters look
// at the texts before the rest is read, and at the file once it is known.
int IPod::ReadPodTrack(const std::shared_ptr<Track>& track, const SongFilters* filter, AProgress* progress) {
    ITunesTrackValues values;
    if (const int result = Code(track->GetKind(values.kind)))
        return result;
    if (values.kind != itunesapp::TrackKind::File)
        return 0;
    if (const int result = values.ReadFilterTexts(*track))
        return result;
    if (filter && !PassesTextFilters(*filter, values, GetFolderLayout()))
        return 0;
    if (const int result = values.ReadOthers(*track))
        return result;
    const itunesapp::ObjectIDs ids = values.ids;
    std::unique_ptr<ITunesSong> song = std::move(values).MakeSong();
    if (m_database)
        song->SetPath(PathOnDrive(*song, progress));
    if (filter && (!filter->PassesType(song->GetPath()) || !filter->PassesName(song->GetPath())))
        return 0;
    IndexSong(std::move(song), track, ids);
    return 0;
}

AString IPod::PathOnDrive(ITunesSong& song, AProgress* progress) const {
    AString pathOnPod;
    if (m_database->FindPathForSong(song, pathOnPod)) {
        AString path = m_drive;
        path.AppendPath(pathOnPod);
        return path;
    }
    if (progress) {
        AString name;
        AString artist;
        song.GetName(name, 0);
        song.GetArtist(artist, 0);
        AString line("Could not find file path for: ");
        if (!artist.IsEmpty())
            line += artist + "; ";
        line += name;
        progress->SetPos(-1.0, nullptr, nullptr, &line, true);
    }
    return AString();
}

// --- Adding song files ---

int IPod::MainPlayList(std::shared_ptr<itunesapp::Playlist>& main) const {
    std::shared_ptr<itunesapp::PlaylistCollection> playLists;
    if (const int result = SourcePlayLists(playLists))
        return result;
    return FindMainPlayList(*playLists, main);
}

int IPod::AddFile(const AString& path, const AString*, ITunesSong*& song) {
    song = nullptr;
    return Guarded(kErrorPodSourceAddFile, [&] {
        std::shared_ptr<itunesapp::Playlist> main;
        if (const int result = MainPlayList(main))
            return result;
        if (path.IsEmpty())
            return kErrorInvalidPath;
        if (!FileExists(path))
            return kErrorFileNotFound;
        std::shared_ptr<Track> track;
        if (const int result = AddFileTo(*main, path, track))
            return result;
        // The song's file is the iPod's copy: deleting the song later must never reach the original.
        return AddTrackSong(track, song);
    });
}

int IPod::AddFiles(const std::vector<AString>& paths, std::vector<ITunesSong*>& songs) {
    songs.clear();
    return Guarded(kErrorPodSourceAddFiles, [&] {
        std::shared_ptr<itunesapp::Playlist> main;
        if (const int result = MainPlayList(main))
            return result;
        return AddFilesTo(*main, paths, songs);
    });
}

// --- The saved form ---

int IPod::Serialize(AFile& stream) const {
    if (const int result = ITunes::Serialize(stream))
        return result;
    if (const int result = recordio::WriteU32(stream, kPodVersion))
        return result;
    if (const int result = m_drive.Serialize(stream))
        return result;
    return m_podID.Serialize(stream);
}

int IPod::Load(AFile& stream) {
    m_source.reset();
    if (const int result = ITunes::Load(stream))
        return result;
    if (const int result = recordio::ReadVersion(stream, kPodVersion))
        return result;
    if (const int result = m_drive.Load(stream))
        return result;
    return m_podID.Load(stream);
}
