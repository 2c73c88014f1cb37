#include "StandInFixture.h"
#include "platform/itunes/EventSink.h"
#include "platform/itunes/OperationStatus.h"
#include "platform/itunes/PlaylistCollection.h"
#include "platform/itunes/Source.h"
#include "platform/itunes/SourceCollection.h"

#include <filesystem>
#include <future>
#include <sys/wait.h>
#include <unistd.h>

using namespace itunesapp;

namespace {

bool HasPlaylist(const Application& application, const std::u16string& name) {
    std::shared_ptr<SourceCollection> sources;
    std::shared_ptr<Source> library;
    std::shared_ptr<PlaylistCollection> playlists;
    std::shared_ptr<Playlist> playlist;
    return application.GetSources(sources) == Status::Ok && sources->GetItem(1, library) == Status::Ok &&
           library->GetPlaylists(playlists) == Status::Ok &&
           playlists->GetItemByName(name, playlist) == Status::Ok;
}

// The fixture's application plays one program; `other` plays the second program on the same library.
class SharedLibraryTest : public StandInFixture {
protected:
    void StartOther(std::chrono::milliseconds quietTime = {}, std::chrono::milliseconds lockTimeout = {}) {
        ITunesInstance::Setup setup = MakeSetup(quietTime);
        setup.lockTimeout = lockTimeout;
        other = std::make_unique<ITunesInstance>(setup);
        ASSERT_EQ(Application::Create(*other, otherApp), Status::Ok);
    }

    std::unique_ptr<ITunesInstance> other;
    std::shared_ptr<Application> otherApp;
};

constexpr std::chrono::milliseconds kLongDelay{60000};
constexpr std::chrono::milliseconds kPatience{20000};

} // namespace

TEST_F(SharedLibraryTest, TheOtherProgramSeesEachSavedChangeAndHearsOfIt) {
    StartOther();
    auto sink = std::make_shared<RecordingSink>();
    uint32_t cookie = 0;
    ASSERT_EQ(otherApp->Subscribe(sink, cookie), Status::Ok);

    const TrackList added = Add({Song("a.mp3"), Song("b.mp3")});
    NewPlaylist(u"Mine");
    std::u16string version;
    ASSERT_EQ(otherApp->GetVersion(version), Status::Ok);
    ASSERT_EQ(sink->changed.size(), 1u);
    EXPECT_EQ(sink->changed[0].size(), 3u);
    EXPECT_TRUE(HasPlaylist(*otherApp, u"Mine"));
    std::shared_ptr<Playlist> theirLibrary;
    ASSERT_EQ(otherApp->GetLibraryPlaylist(theirLibrary), Status::Ok);
    EXPECT_EQ(NamesOf(*theirLibrary), (std::vector<std::u16string>{u"a", u"b"}));

    // The other program deletes a song; this one reads the file again before its own next change.
    const TrackList theirs = TracksOf(*theirLibrary);
    ASSERT_EQ(theirs[0]->Delete(), Status::Ok);
    ASSERT_EQ(added[1]->SetNumber(NumberField::PlayedCount, 5), Status::Ok);
    EXPECT_EQ(NamesOf(*LibraryPlaylist()), std::vector<std::u16string>{u"b"});
    std::u16string name;
    EXPECT_EQ(added[0]->GetText(TextField::Name, name), Status::Failed);
    ASSERT_EQ(otherApp->GetVersion(version), Status::Ok);
    EXPECT_EQ(NumberOf(*theirs[1], NumberField::PlayedCount), 5);
}

TEST_F(SharedLibraryTest, ASecondProcessSeesTheLibraryAndChangesIt) {
    ASSERT_EQ(Add({Song("a.mp3")}).size(), 1u);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ITunesInstance mine(MakeSetup());
        std::shared_ptr<Application> application;
        std::shared_ptr<Playlist> library, made;
        bool ok = Application::Create(mine, application) == Status::Ok &&
                  application->GetLibraryPlaylist(library) == Status::Ok && NamesOf(*library).size() == 1 &&
                  TracksOf(*library)[0]->SetNumber(NumberField::Rating, 80) == Status::Ok &&
                  application->CreatePlaylist(u"Theirs", made) == Status::Ok;
        _exit(ok ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(HasPlaylist(*app, u"Theirs"));
    EXPECT_EQ(NumberOf(*TracksOf(*LibraryPlaylist())[0], NumberField::Rating), 80);
}

TEST_F(SharedLibraryTest, UnsavedChangesHoldTheOtherProgramBackUntilTheyAreSaved) {
    instance = std::make_unique<ITunesInstance>(MakeSetup(kLongDelay));
    ASSERT_EQ(Application::Create(*instance, app), Status::Ok);
    StartOther({}, kPatience);
    NewPlaylist(u"Mine");
    EXPECT_FALSE(std::filesystem::exists(LibraryFile()));

    auto change = std::async(std::launch::async, [this] {
        std::shared_ptr<Playlist> made;
        return otherApp->CreatePlaylist(u"Theirs", made);
    });
    EXPECT_EQ(change.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
    ASSERT_TRUE(instance->Flush());
    ASSERT_EQ(change.wait_for(kPatience), std::future_status::ready);
    EXPECT_EQ(change.get(), Status::Ok);
    EXPECT_TRUE(HasPlaylist(*otherApp, u"Mine"));
    EXPECT_TRUE(HasPlaylist(*app, u"Theirs"));
}

TEST_F(SharedLibraryTest, AChangeThatCannotGetTheLockFailsAndChangesNothing) {
    instance = std::make_unique<ITunesInstance>(MakeSetup(kLongDelay));
    ASSERT_EQ(Application::Create(*instance, app), Status::Ok);
    StartOther({}, std::chrono::milliseconds(50));
    NewPlaylist(u"Mine");
    std::shared_ptr<Playlist> made;
    EXPECT_EQ(otherApp->CreatePlaylist(u"Theirs", made), Status::Failed);
    EXPECT_FALSE(HasPlaylist(*otherApp, u"Theirs"));
    // The last application object of a program that goes away saves its changes.
    app.reset();
    EXPECT_TRUE(HasPlaylist(*otherApp, u"Mine"));
    EXPECT_EQ(otherApp->CreatePlaylist(u"Theirs", made), Status::Ok);
}

TEST_F(SharedLibraryTest, ASaveRemovesWhatAKilledSaveLeftBehind) {
    NewPlaylist(u"First");
    const std::string leftover = folder.File("iTunes/.iTunes Music Library.xml.partAbC123");
    WriteText(leftover, "half a library");
    NewPlaylist(u"Second");
    EXPECT_FALSE(std::filesystem::exists(leftover));
}

TEST_F(SharedLibraryTest, ALibraryDamagedByAnotherProgramIsStillShownButNeverSavedOver) {
    ASSERT_EQ(Add({Song("a.mp3")}).size(), 1u);
    const std::string damaged = "<plist><dict><key>Tracks</key>";
    WriteText(LibraryFile() + ".new", damaged);
    std::filesystem::rename(LibraryFile() + ".new", LibraryFile());

    std::shared_ptr<Playlist> made;
    EXPECT_EQ(app->CreatePlaylist(u"Party", made), Status::Unreadable);
    EXPECT_EQ(instance->LibraryProblem().rfind(LibraryFile() + ": ", 0), 0u) << instance->LibraryProblem();
    EXPECT_EQ(NamesOf(*LibraryPlaylist()), std::vector<std::u16string>{u"a"});
    const std::vector<uint8_t> kept = ReadBytes(LibraryFile());
    EXPECT_EQ(std::string(kept.begin(), kept.end()), damaged);
}

TEST_F(SharedLibraryTest, ThreadsOfOneProgramChangeTheLibraryTogether) {
    constexpr int kThreads = 4;
    constexpr int kSongsEach = 10;
    instance = std::make_unique<ITunesInstance>(MakeSetup(std::chrono::milliseconds(5)));
    ASSERT_EQ(Application::Create(*instance, app), Status::Ok);
    std::vector<std::vector<std::string>> songs(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        for (int s = 0; s < kSongsEach; ++s)
            songs[t].push_back(Song("t" + std::to_string(t) + "s" + std::to_string(s) + ".mp3"));
    }
    std::vector<std::future<bool>> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.push_back(std::async(std::launch::async, [this, &songs, t] {
            std::shared_ptr<Application> mine;
            std::shared_ptr<Playlist> library, playlist;
            bool ok = Application::Create(*instance, mine) == Status::Ok &&
                      mine->GetLibraryPlaylist(library) == Status::Ok &&
                      mine->CreatePlaylist(u"Thread " + std::u16string(1, char16_t(u'0' + t)), playlist) ==
                          Status::Ok;
            for (const std::string& song : songs[t]) {
                std::shared_ptr<OperationStatus> status;
                std::shared_ptr<Track> added;
                ok = ok && library->AddFile(song, status) == Status::Ok;
                const TrackList tracks = TracksOf(*library);
                ok = ok && !tracks.empty() && playlist->AddTrack(*tracks.back(), added) == Status::Ok;
            }
            return ok;
        }));
    }
    for (auto& worker : workers)
        EXPECT_TRUE(worker.get());
    ASSERT_TRUE(instance->Flush());
    StartOther();
    std::shared_ptr<Playlist> theirLibrary;
    ASSERT_EQ(otherApp->GetLibraryPlaylist(theirLibrary), Status::Ok);
    EXPECT_EQ(NamesOf(*theirLibrary).size(), size_t(kThreads * kSongsEach));
}
