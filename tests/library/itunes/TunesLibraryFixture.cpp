#include "library/itunes/TunesLibraryFixture.h"

#include "library/itunes/ITunesSong.h"
#include "library/itunes/ITunesTagReader.h"
#include "platform/itunes/Application.h"
#include "platform/itunes/OperationStatus.h"
#include "platform/itunes/Playlist.h"
#include "platform/itunes/PlaylistCollection.h"
#include "platform/itunes/Source.h"
#include "platform/itunes/SourceCollection.h"
#include "platform/itunes/Track.h"
#include "platform/itunes/TrackCollection.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace itunesapp;

namespace {

constexpr const char* kVariables[] = {"XDG_MUSIC_DIR", "XDG_DATA_HOME"};

ITunesInstance::Setup TestSetup() {
    ITunesInstance::Setup setup;
    setup.tagReader = std::make_shared<ITunesTagReader>();
    setup.quietTime = std::chrono::milliseconds(0);
    setup.longestDelay = std::chrono::milliseconds(0);
    return setup;
}

std::shared_ptr<Application> App() {
    std::shared_ptr<Application> app;
    EXPECT_EQ(Application::Create(app), Status::Ok);
    return app;
}

} // namespace

void TunesLibraryFixture::SetUp() {
    for (const char* name : kVariables) {
        const char* value = std::getenv(name);
        m_savedEnvironment.emplace_back(name, value ? value : "");
    }
    setenv("XDG_MUSIC_DIR", dir.File("Music").c_str(), 1);
    setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
    ITunesInstance::Install(TestSetup());
}

void TunesLibraryFixture::TearDown() {
    ITunesInstance::Running().Quit();
    for (const auto& [name, value] : m_savedEnvironment) {
        if (value.empty())
            unsetenv(name.c_str());
        else
            setenv(name.c_str(), value.c_str(), 1);
    }
}

std::string TunesLibraryFixture::PutSong(const std::string& fixture, const std::string& place) const {
    const std::string target = dir.File("songs/" + place);
    std::filesystem::create_directories(std::filesystem::path(target).parent_path());
    std::filesystem::copy_file(std::string(ORVANTIS_FIXTURES) + "/tags/" + fixture, target);
    return target;
}

void TunesLibraryFixture::AddFiveSongs() {
    five = PutSong("id3v1_only.mp3", "Rock/Some Artist/five.mp3");
    bjork = PutSong("v24_mutagen.mp3", "Jazz/bjork.mp3");
    ubung = PutSong("v23_eyed3_extended.mp3", "Rock/Greek/ubung.mp3");
    episode = PutSong("mp4_atomicparsley.m4a", "Shows/episode.m4a");
    untagged = PutSong("vbr_mpeg1.mp3", "Untagged/vbr_mpeg1.mp3");
    AddToLibrary({five, bjork, ubung, episode, untagged});
}

void TunesLibraryFixture::AddToLibrary(const std::vector<std::string>& paths) const {
    std::shared_ptr<Playlist> library;
    std::shared_ptr<OperationStatus> status;
    ASSERT_EQ(App()->GetLibraryPlaylist(library), Status::Ok);
    ASSERT_EQ(library->AddFiles(paths, status), Status::Ok);
}

void TunesLibraryFixture::MakePlayList(const std::u16string& name, const std::vector<std::string>& paths) const {
    const std::shared_ptr<Application> app = App();
    std::shared_ptr<Playlist> library;
    std::shared_ptr<Playlist> playList;
    std::shared_ptr<TrackCollection> tracks;
    ASSERT_EQ(app->GetLibraryPlaylist(library), Status::Ok);
    ASSERT_EQ(app->CreatePlaylist(name, playList), Status::Ok);
    ASSERT_EQ(library->GetTracks(tracks), Status::Ok);
    int32_t count = 0;
    ASSERT_EQ(tracks->GetCount(count), Status::Ok);
    for (const std::string& path : paths) {
        for (int32_t i = 1; i <= count; ++i) {
            std::shared_ptr<Track> track;
            std::shared_ptr<Track> added;
            std::string location;
            ASSERT_EQ(tracks->GetItem(i, track), Status::Ok);
            if (track->GetLocation(location) == Status::Ok && location == path) {
                ASSERT_EQ(playList->AddTrack(*track, added), Status::Ok);
            }
        }
    }
}

std::string TunesLibraryFixture::LibraryText() const {
    ITunesInstance::Running().Flush();
    std::ifstream file(dir.File("Music/iTunes/iTunes Music Library.xml"));
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void TunesLibraryFixture::WriteLibraryText(const std::string& text) const {
    std::filesystem::create_directories(dir.File("Music/iTunes"));
    std::ofstream(dir.File("Music/iTunes/iTunes Music Library.xml"), std::ios::binary) << text;
}

std::unique_ptr<ITunesInstance> TunesLibraryFixture::OtherProgram() const {
    ITunesInstance::Running().Flush();
    return std::make_unique<ITunesInstance>(TestSetup());
}

namespace {

std::vector<ITunesTrackValues> TracksIn(ITunesInstance& instance) {
    std::shared_ptr<Application> app;
    std::shared_ptr<Playlist> library;
    std::shared_ptr<TrackCollection> tracks;
    int32_t count = 0;
    EXPECT_EQ(Application::Create(instance, app), Status::Ok);
    EXPECT_EQ(app->GetLibraryPlaylist(library), Status::Ok);
    EXPECT_EQ(library->GetTracks(tracks), Status::Ok);
    EXPECT_EQ(tracks->GetCount(count), Status::Ok);
    std::vector<ITunesTrackValues> values(static_cast<size_t>(count));
    for (int32_t i = 1; i <= count; ++i) {
        std::shared_ptr<Track> track;
        EXPECT_EQ(tracks->GetItem(i, track), Status::Ok);
        EXPECT_EQ(values[i - 1].ReadAll(*track), 0);
    }
    return values;
}

} // namespace

ITunesTrackValues TunesLibraryFixture::TrackIn(ITunesInstance& instance, const std::string& path) {
    for (ITunesTrackValues& values : TracksIn(instance)) {
        if (values.location == path)
            return values;
    }
    ADD_FAILURE() << path << " is not in the library";
    return {};
}

std::set<std::string> TunesLibraryFixture::FilesInLibrary() const {
    const std::unique_ptr<ITunesInstance> other = OtherProgram();
    std::set<std::string> files;
    for (const ITunesTrackValues& values : TracksIn(*other))
        files.insert(values.location);
    return files;
}

std::string FieldsOf(ITunesSong& song) {
    AString name;
    AString album;
    AString artist;
    AString genre;
    uint32_t bitRate = 0;
    uint32_t duration = 0;
    uint32_t size = 0;
    song.GetName(name, 0);
    song.GetAlbum(album, 0);
    song.GetArtist(artist, 0);
    song.GetGenre(genre, 0);
    song.GetBitRate(bitRate, 0);
    song.GetDuration(duration, 0);
    song.GetSize(size, 0);
    std::ostringstream text;
    text << name.ToUtf8() << "|" << album.ToUtf8() << "|" << artist.ToUtf8() << "|" << genre.ToUtf8() << "|"
         << song.GetComposer().ToUtf8() << "|" << song.GetTrackNumber() << "|" << song.GetYear() << "|"
         << bitRate << "|" << duration << "|" << size << "|" << song.GetExtension().ToUtf8();
    return text.str();
}

bool RecordingEventTarget::PostDatabaseChanged(ITunesDatabaseChange change) {
    std::lock_guard lock(m_lock);
    if (refuse)
        return false;
    m_changes.push_back(std::move(change));
    return true;
}

bool RecordingEventTarget::PostQuit() {
    std::lock_guard lock(m_lock);
    ++m_quits;
    return !refuse;
}

std::vector<ITunesDatabaseChange> RecordingEventTarget::Changes() const {
    std::lock_guard lock(m_lock);
    return m_changes;
}

int RecordingEventTarget::Quits() const {
    std::lock_guard lock(m_lock);
    return m_quits;
}
