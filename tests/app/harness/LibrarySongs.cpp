#include "harness/LibrarySongs.h"

#include "library/ipod/ITunesDB.h"
#include "library/ipod/ITunesDBTrack.h"
#include "library/ipod/ITunesDBTrackList.h"
#include "library/songlists/TestSongFiles.h"
#include "platform/itunes/Application.h"
#include "platform/itunes/OperationStatus.h"
#include "platform/itunes/Playlist.h"
#include "platform/itunes/PlaylistCollection.h"
#include "platform/itunes/Source.h"
#include "platform/itunes/SourceCollection.h"
#include "platform/itunes/Track.h"
#include "platform/itunes/TrackCollection.h"

#include <gtest/gtest.h>

using namespace itunesapp;

namespace {

std::shared_ptr<Playlist> LibraryPlayList() {
    std::shared_ptr<Application> app;
    std::shared_ptr<Playlist> library;
    EXPECT_EQ(Application::Create(app), Status::Ok);
    EXPECT_EQ(app->GetLibraryPlaylist(library), Status::Ok);
    return library;
}

// The playlist's tracks with their files.
std::vector<std::pair<std::shared_ptr<Track>, std::string>> TracksOf(const Playlist& playList) {
    std::shared_ptr<TrackCollection> tracks;
    int32_t count = 0;
    EXPECT_EQ(playList.GetTracks(tracks), Status::Ok);
    EXPECT_EQ(tracks->GetCount(count), Status::Ok);
    std::vector<std::pair<std::shared_ptr<Track>, std::string>> found;
    for (int32_t i = 1; i <= count; ++i) {
        std::shared_ptr<Track> track;
        std::string location;
        EXPECT_EQ(tracks->GetItem(i, track), Status::Ok);
        track->GetLocation(location);
        found.emplace_back(track, location);
    }
    return found;
}

} // namespace

std::string AddLibrarySong(const std::string& path, const TestSongTags& tags) {
    WriteSongFile(path, MakeMp3(tags));
    std::shared_ptr<OperationStatus> status;
    EXPECT_EQ(LibraryPlayList()->AddFiles({path}, status), Status::Ok);
    return path;
}

void MakeLibraryPlayList(const std::u16string& name, const std::vector<std::string>& paths) {
    std::shared_ptr<Application> app;
    std::shared_ptr<Playlist> playList;
    ASSERT_EQ(Application::Create(app), Status::Ok);
    ASSERT_EQ(app->CreatePlaylist(name, playList), Status::Ok);
    const auto tracks = TracksOf(*LibraryPlayList());
    for (const std::string& path : paths) {
        for (const auto& [track, location] : tracks) {
            std::shared_ptr<Track> added;
            if (location == path) {
                ASSERT_EQ(playList->AddTrack(*track, added), Status::Ok);
            }
        }
    }
}

namespace {

std::vector<std::string> FilesOf(const Playlist& playList) {
    std::vector<std::string> files;
    for (const auto& [track, location] : TracksOf(playList))
        files.push_back(location);
    return files;
}

} // namespace

std::vector<std::string> LibraryFiles() {
    return FilesOf(*LibraryPlayList());
}

std::vector<std::string> PlayListFiles(const std::u16string& name) {
    std::shared_ptr<Application> app;
    std::shared_ptr<SourceCollection> sources;
    int32_t count = 0;
    EXPECT_EQ(Application::Create(app), Status::Ok);
    EXPECT_EQ(app->GetSources(sources), Status::Ok);
    EXPECT_EQ(sources->GetCount(count), Status::Ok);
    for (int32_t i = 1; i <= count; ++i) {
        std::shared_ptr<Source> source;
        std::shared_ptr<PlaylistCollection> playLists;
        std::shared_ptr<Playlist> playList;
        SourceKind kind{};
        EXPECT_EQ(sources->GetItem(i, source), Status::Ok);
        if (source->GetKind(kind) != Status::Ok || kind != SourceKind::Library)
            continue;
        EXPECT_EQ(source->GetPlaylists(playLists), Status::Ok);
        if (playLists->GetItemByName(name, playList) == Status::Ok && playList)
            return FilesOf(*playList);
    }
    ADD_FAILURE() << "no playlist of that name in the library";
    return {};
}

std::multimap<std::string, std::string> PodTracks(const std::string& podRoot) {
    ITunesDB database;
    const AString drive(podRoot.c_str());
    EXPECT_EQ(database.ReadLibrary(&drive, true, nullptr, nullptr), 0);
    std::multimap<std::string, std::string> tracks;
    if (const ITunesDBTrackList* list = database.GetRoot().GetTrackList()) {
        list->ForEachTrack([&](ITunesDBTrack& track) {
            tracks.emplace(track.GetTitle().ToUtf8(), track.GetPath().ToUtf8());
        });
    }
    return tracks;
}
