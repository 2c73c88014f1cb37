#include "StandInFixture.h"

#include "platform/itunes/OperationStatus.h"
#include "platform/itunes/PlaylistCollection.h"
#include "platform/itunes/Source.h"
#include "platform/itunes/SourceCollection.h"
#include "platform/itunes/TrackCollection.h"
#include "platform/itunes/TrackEnumerator.h"
#include "platform/text/TextCodec.h"

#include <filesystem>

using namespace itunesapp;

void StandInFixture::SetUp() {
    instance = std::make_unique<ITunesInstance>(MakeSetup());
    ASSERT_EQ(Application::Create(*instance, app), Status::Ok);
}

ITunesInstance::Setup StandInFixture::MakeSetup(std::chrono::milliseconds quietTime) const {
    ITunesInstance::Setup setup;
    setup.libraryFile = LibraryFile();
    setup.tagReader = tags;
    setup.quietTime = quietTime;
    setup.longestDelay = quietTime * 10;
    return setup;
}

std::string StandInFixture::Song(const std::string& name, const FakeSong& song) const {
    const std::string path = folder.File("songs/" + name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    FakeSong named = song;
    if (named.fields.name.empty())
        named.fields.name = textcodec::DecodeUtf8(std::filesystem::path(name).stem().string());
    WriteFakeSong(path, named);
    return path;
}

std::shared_ptr<Playlist> StandInFixture::LibraryPlaylist() const {
    std::shared_ptr<Playlist> playlist;
    EXPECT_EQ(app->GetLibraryPlaylist(playlist), Status::Ok);
    return playlist;
}

std::shared_ptr<Playlist> StandInFixture::NamedPlaylist(const std::u16string& name) const {
    std::shared_ptr<SourceCollection> sources;
    std::shared_ptr<Source> library;
    std::shared_ptr<PlaylistCollection> playlists;
    std::shared_ptr<Playlist> playlist;
    EXPECT_EQ(app->GetSources(sources), Status::Ok);
    EXPECT_EQ(sources->GetItem(1, library), Status::Ok);
    EXPECT_EQ(library->GetPlaylists(playlists), Status::Ok);
    return playlists->GetItemByName(name, playlist) == Status::Ok ? playlist : nullptr;
}

std::shared_ptr<Playlist> StandInFixture::NewPlaylist(const std::u16string& name) const {
    std::shared_ptr<Playlist> playlist;
    EXPECT_EQ(app->CreatePlaylist(name, playlist), Status::Ok);
    return playlist;
}

TrackList StandInFixture::Add(const std::vector<std::string>& paths) const {
    std::shared_ptr<OperationStatus> status;
    std::shared_ptr<TrackCollection> tracks;
    EXPECT_EQ(LibraryPlaylist()->AddFiles(paths, status), Status::Ok);
    if (!status || status->GetTracks(tracks) != Status::Ok)
        return {};
    return TracksOf(*tracks);
}

TrackList TracksOf(const TrackCollection& tracks) {
    std::shared_ptr<TrackEnumerator> enumerator;
    EXPECT_EQ(tracks.GetEnumerator(enumerator), Status::Ok);
    TrackList all;
    for (Status status = Status::Ok; status == Status::Ok;) {
        TrackList batch;
        status = enumerator->Next(1000, batch);
        EXPECT_TRUE(status == Status::Ok || status == Status::Ended);
        all.insert(all.end(), batch.begin(), batch.end());
    }
    return all;
}

TrackList TracksOf(const Playlist& playlist) {
    std::shared_ptr<TrackCollection> tracks;
    EXPECT_EQ(playlist.GetTracks(tracks), Status::Ok);
    return tracks ? TracksOf(*tracks) : TrackList();
}

std::u16string TextOf(const Track& track, TextField field) {
    std::u16string text;
    EXPECT_EQ(track.GetText(field, text), Status::Ok);
    return text;
}

int32_t NumberOf(const Track& track, NumberField field) {
    int32_t number = -1;
    EXPECT_EQ(track.GetNumber(field, number), Status::Ok);
    return number;
}

std::vector<std::u16string> NamesOf(const Playlist& playlist) {
    std::vector<std::u16string> names;
    for (const auto& track : TracksOf(playlist))
        names.push_back(TextOf(*track));
    return names;
}

std::u16string NameOf(const Playlist& playlist) {
    std::u16string name;
    EXPECT_EQ(playlist.GetName(name), Status::Ok);
    return name;
}
