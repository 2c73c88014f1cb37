// A song sync with another computer's library as a user runs it: the server program started as a user
// starts it, this process in the main program's place with a library of its own, and the sync set the
// main program makes for a host it found. Both libraries are written, changed and read by Python's
// property-list code, so nothing of ours says what either side holds.
#include "HelperProgramFixture.h"
#include "app/devices/DeviceSyncSet.h"
#include "library/itunes/ITunesServices.h"
#include "platform/itunes/ITunesInstance.h"
#include "remote/FoundHost.h"
#include "support/RecordingUserInterface.h"
#include "sync/ASync.h"
#include "sync/HeadlessActionPresenter.h"
#include "sync/SyncAction.h"
#include "sync/SyncModeTables.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

using namespace std::chrono_literals;

// How many actions of each kind (SyncDisplayIndex) the action lists held, list by list.
using ActionCounts = std::map<uint32_t, int>;

class RemoteSongSyncTest : public HelperProgramFixture {
protected:
    // The library of this side: two songs the server has too, and two of its own.
    static const std::vector<HelperSong>& LocalSongs() {
        static const std::vector<HelperSong> songs = {
            ServedSongs()[0],
            ServedSongs()[2],
            {"tags/v23_unsync.mp3", "Ärtist/Album ÿÿ/05 Ünsynchronised ÿ title.mp3", "Ünsynchronised ÿ title",
             "Ärtist", "Album ÿÿ", "Pop", 5},
            {"tags/mp4_64bit.m4a", "Wide Artist/Wide Album/02 Wide Title.m4a", "Wide Title", "Wide Artist",
             "Wide Album", "Jazz", 2},
        };
        return songs;
    }

    void SetUp() override {
        HelperProgramFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        UseLocalHome();
        localLibrary.LayOut(LocalSongs());
        InstallITunesServices();
        DeviceSyncSet::RegisterRemoteList();
    }

    void TearDown() override {
        // The next test's application starts afresh, in its own home.
        itunesapp::ITunesInstance::Running().Quit();
        HelperProgramFixture::TearDown();
    }

    // The set the main program makes when the user picks the host, in the mode "Sync" (both ways, with
    // deletions), each list confirmed as shown.
    std::unique_ptr<DeviceSyncSet> HostSet() {
        auto set = std::make_unique<DeviceSyncSet>(&progress, nullptr, AString(local.File("work")));
        set->SetSeams(&confirming, nullptr);
        FoundHost host;
        host.name = "helper.local";
        host.address = OwnNetwork::kServerText;
        EXPECT_EQ(set->MakeRemote(link.get(), host, kModeSync), 0);
        return set;
    }

    // A run as the start button starts it, the user answering "Yes to All" to every question: the
    // actions it showed.
    ActionCounts Run(DeviceSyncSet& set) {
        shown.clear();
        user.QueueAnswers({kYesToAll, kYesToAll, kYesToAll, kYesToAll});
        EXPECT_EQ(set.Set().Run(CancelCallback()), 0) << progress.PendingLog().ToUtf8();
        return shown;
    }

    bool LoggedCommunicationError() {
        return progress.PendingLog().ToUtf8().find("Communication Error") != std::string::npos;
    }

    // The local music application quits and saves, so that another program may change its library.
    static void QuitLocalApplication() { itunesapp::ITunesInstance::Running().Quit(); }

    // A newer version of a song file: more audio, a later time.
    static void MakeNewer(const std::string& file) {
        std::vector<uint8_t> bytes = ReadBytes(file);
        bytes.insert(bytes.end(), 4096, 0x55);
        WriteBytes(file, bytes);
        std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now() + 1h);
    }

    std::string LocalFile(const std::string& file) const { return localLibrary.MusicFolder() + "/" + file; }
    std::string ServerFile(const std::string& file) const { return server->MusicFolder() + "/" + file; }

    static constexpr int kYesToAll = 2; // the button

    LibraryHome localLibrary{local.Path()};
    RecordingUserInterface user;
    ActionCounts shown;
    HeadlessActionPresenter confirming{[this](ASync& sync, const SyncActionTexts&) {
        for (int i = 0; i < sync.GetActionCount(); ++i)
            ++shown[sync.GetAction(i)->displayIndex];
        return true;
    }};
};

} // namespace

TEST_F(RemoteSongSyncTest, NewSongsGoBothWaysChangedOnesAreReplacedAndDeletedOnesRemoved) {
    const std::vector<HelperSong>& served = ServedSongs();
    const std::vector<HelperSong>& own = LocalSongs();
    std::unique_ptr<DeviceSyncSet> set = HostSet();
    ASSERT_NE(set->RemoteSide(), nullptr);

    // The first run: each side's new songs go to the other; the songs both hold stay.
    EXPECT_EQ(Run(*set), (ActionCounts{{kCopyTo1, 2}, {kCopyTo2, 2}}));
    EXPECT_FALSE(LoggedCommunicationError()) << progress.PendingLog().ToUtf8();

    // Since then: a newer file of one song on each side, and one song deleted on each side.
    QuitLocalApplication();
    ASSERT_TRUE(server->Stop()) << server->Output();
    // Each side files a song it receives by the file's own tags.
    const std::string localCopyOfServed = LocalFile("Ζωή Artist/Plain Album/2-07 Ölmalerei – Übung.mp3");
    const std::string serverCopyOfOwn = ServerFile("Ärtist/Album ÿÿ/05 Ünsynchronised ÿ title.mp3");
    ASSERT_TRUE(std::filesystem::exists(localCopyOfServed));
    ASSERT_TRUE(std::filesystem::exists(serverCopyOfOwn)) << "the new song reached the server";
    MakeNewer(localCopyOfServed);
    MakeNewer(server->FileOf(served[0]));
    localLibrary.Remove(localLibrary.FileOf(own[2]));
    server->Library().Remove(server->FileOf(served[3]));
    server->Start();
    ASSERT_TRUE(server->Listening()) << server->Output();

    EXPECT_EQ(Run(*set),
              (ActionCounts{{kReplaceIn1, 1}, {kReplaceIn2, 1}, {kDeleteFrom1, 1}, {kDeleteFrom2, 1}}));
    EXPECT_FALSE(LoggedCommunicationError()) << progress.PendingLog().ToUtf8();
    // A third run finds both sides alike.
    EXPECT_EQ(Run(*set), ActionCounts());

    QuitLocalApplication();
    ASSERT_TRUE(server->Stop()) << server->Output();
    const std::string serverCopyOfWide = ServerFile("Wide Artist/Wide Album/02 Wide Title.m4a");
    const std::set<std::string> serverSongs{server->FileOf(served[0]), server->FileOf(served[1]),
                                            server->FileOf(served[2]), serverCopyOfWide};
    EXPECT_EQ(server->LibraryFiles(), serverSongs);
    std::set<std::string> serverFiles = serverSongs;
    serverFiles.insert({server->RemovedFiles() + "/Ärtist/Album ÿÿ/05 Ünsynchronised ÿ title.mp3",
                        server->Library().LibraryFile(),
                        serverHome.File("Music/iTunes/.iTunes Music Library.xml.lock")});
    EXPECT_EQ(server->FilesBelowITunes(), serverFiles) << "no other file on the server";
    EXPECT_EQ(ReadBytes(serverCopyOfWide), FixtureBytes(own[3].fixture));
    EXPECT_EQ(ReadBytes(server->FileOf(served[1])), ReadBytes(localCopyOfServed));

    const std::set<std::string> localSongs{localLibrary.FileOf(own[0]), localLibrary.FileOf(own[1]),
                                           localLibrary.FileOf(own[3]), localCopyOfServed};
    EXPECT_EQ(localLibrary.LibraryFiles(), localSongs);
    std::set<std::string> localFiles = localSongs;
    localFiles.insert({localLibrary.RemovedFiles() + "/Compilations/MP4 Album/1-05 MP4 Title.m4a",
                       localLibrary.LibraryFile(),
                       local.File("Music/iTunes/.iTunes Music Library.xml.lock")});
    EXPECT_EQ(localLibrary.FilesBelowITunes(), localFiles) << "no other file here";
    EXPECT_EQ(ReadBytes(localLibrary.FileOf(own[0])), ReadBytes(server->FileOf(served[0])));
}
