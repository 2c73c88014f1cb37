// A server program of its own, serving a library the test built, reached over loopback (the server
// on 127.0.0.2, this side on 127.0.0.1) by the remote library's song list, the remote file functions
// and a sync; what changed is read back from the disk after the server has ended.
#include "LibraryServerProcess.h"
#include "LoopbackServer.h"
#include "RequestPayload.h"
#include "foundation/AProgress.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RemoteFileCache.h"
#include "library/itunes/ITunes.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/itunes/ITunesSong.h"
#include "library/itunes/ITunesTagReader.h"
#include "library/songlists/ADirSongDir.h"
#include "library/songlists/TestSongFiles.h"
#include "library/tags/ID3.h"
#include "platform/itunes/ITunesInstance.h"
#include "remote/ADirTunesRemote.h"
#include "remote/CASockets.h"
#include "remote/LinkCodes.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"
#include "sync/ASync.h"
#include "sync/ASyncLib.h"
#include "sync/HeadlessActionPresenter.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

constexpr uint64_t kOldTime = 3500000000ull; // seconds since 1904
constexpr uint64_t kNewTime = 3600000000ull;

// The songs of the served library, by the name the test gives them.
struct ServedSong {
    std::string name;
    TestSongTags tags;
};

const ServedSong kSongs[] = {
    {"waterloo", SongTags("Pop", "Abba", "Gold", "Waterloo", "1")},
    {"fernando", SongTags("Pop", "Abba", "Gold", "Fernando", "2")},
    {"dancing", SongTags("Pop", "Abba", "Gold", "Dancing Queen", "3")},
    {"mamma", SongTags("Pop", "Abba", "Gold", "Mamma Mia", "4")},
};

// What the server's library holds, read from its file as another program would.
struct LibraryState {
    std::map<std::string, uint32_t> ratingOfFile;
    std::set<std::string> playLists;
};

class RemoteLibraryProcessTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"XDG_MUSIC_DIR", "XDG_DATA_HOME"}) {
            const char* value = std::getenv(name);
            m_savedEnvironment.emplace_back(name, value ? value : "");
        }
        for (const ServedSong& song : kSongs) {
            files[song.name] = ServerMusic("Abba/Gold/" + song.name + ".mp3");
            WriteSongFile(files[song.name], MakeMp3(song.tags));
            SetFileModTime(AString(files[song.name]), kOldTime, false);
        }
        // Forked before this process starts any thread of its own.
        server = std::make_unique<LibraryServerProcess>(serverHome.Path(), [this] { BuildServedLibrary(); });
        ASSERT_NE(server->Port(), 0);
        LibraryServerProcess::UseHome(clientHome.Path());
        client = std::make_unique<CASockets>(LoopbackServer::kClientAddress);
        client->SetBasePort(server->Port());
        RemoteFileCache::Instance().Clear();
        RemoteFileCache::Instance().SetPeer(client.get());
    }

    void TearDown() override {
        RemoteFileCache::Instance().SetPeer(nullptr);
        RemoteFileCache::Instance().Clear();
        if (m_readLibrary)
            itunesapp::ITunesInstance::Running().Quit();
        for (const auto& [name, value] : m_savedEnvironment) {
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
    }

    // In the server's process: the songs added by the user, and a playlist.
    void BuildServedLibrary() const {
        ITunes library;
        std::vector<AString> paths;
        for (const ServedSong& song : kSongs)
            paths.push_back(AString(files.at(song.name)));
        std::vector<ITunesSong*> added;
        if (library.Connect() != 0 || library.AddFiles(paths, added) != 0 || library.CreatePlayList(AString("Mix")) != 0)
            _exit(2);
        if (refusesAdds)
            itunesapp::ITunesInstance::Running().RefuseAdds(kEveryAdd);
    }

    std::string ServerMusic(const std::string& name) const {
        return serverHome.File("Music/iTunes/iTunes Music/" + name);
    }

    std::unique_ptr<ADirTunesRemote> RemoteList() const {
        auto list = std::make_unique<ADirTunesRemote>();
        list->SetLink(client.get());
        list->SetServerAddress(LoopbackServer::kServerText, nullptr);
        return list;
    }

    static AString Remote(const std::string& path) { return AString(std::string("?127.0.0.2:") + path); }

    // Ends the server and reads what its library file holds.
    LibraryState StopAndReadLibrary() {
        EXPECT_TRUE(server->Stop()) << "the server ended well and saved its library";
        LibraryServerProcess::UseHome(serverHome.Path());
        itunesapp::ITunesInstance::Setup setup;
        setup.tagReader = std::make_shared<ITunesTagReader>();
        itunesapp::ITunesInstance::Install(setup);
        m_readLibrary = true;
        ITunes library;
        LibraryState state;
        EXPECT_EQ(library.Connect(), 0);
        EXPECT_EQ(library.LoadMasterList(false, AString(), nullptr, CancelCallback(), nullptr), 0);
        for (int i = 0; i < library.GetSongCount(); ++i) {
            ITunesSong* song = library.GetSongAt(i);
            state.ratingOfFile[song->GetPath().ToUtf8()] = song->GetRating();
        }
        EXPECT_EQ(library.LoadPlayLists(false), 0);
        for (int i = 0; i < library.GetPlayListCount(); ++i) {
            AString name;
            library.GetPlayList(i)->GetName(name, 0);
            state.playLists.insert(name.ToUtf8());
        }
        return state;
    }

    static constexpr int kEveryAdd = 1000;
    // Whether the served library refuses every add once it is built.
    bool refusesAdds = false;
    TempDir serverHome;
    TempDir clientHome;
    TempDir local;
    std::map<std::string, std::string> files;
    std::unique_ptr<LibraryServerProcess> server;
    std::unique_ptr<CASockets> client;

private:
    std::vector<std::pair<std::string, std::string>> m_savedEnvironment;
    bool m_readLibrary = false;
};

// A library there that takes no song it is asked to add.
class RefusingLibraryProcessTest : public RemoteLibraryProcessTest {
protected:
    RefusingLibraryProcessTest() { refusesAdds = true; }
};

// The entry of the song whose file is `file`, and its remote path.
AString EntryOfFile(ADirTunesRemote& list, const std::string& file) {
    for (int i = 0; i < list.GetCount(); ++i) {
        AString path;
        if (list.GetFullPath(*list.GetEntry(i), path, 0) == 0 && path == AString("?127.0.0.2:" + file))
            return *list.GetEntry(i);
    }
    ADD_FAILURE() << file << " is not listed";
    return AString();
}

} // namespace

TEST_F(RemoteLibraryProcessTest, EveryRequestCodeIsServed) {
    const auto list = RemoteList();
    AProgress progress;
    list->SetProgress(&progress);
    ASSERT_EQ(list->Connect(), 0); // 1002, 1004
    EXPECT_EQ(list->GetListCount(), 1);
    ASSERT_EQ(list->Open(nullptr, 0, CancelCallback()), 0); // 1005
    ASSERT_EQ(list->GetCount(), 4);
    list->Sort(1);

    ID3 tags; // 2001
    ASSERT_EQ(tags.Read(Remote(files["waterloo"])), 0);
    AString artist;
    tags.GetArtist(artist);
    EXPECT_EQ(artist, "Abba");

    RemoteFileCache::Instance().Clear(); // 3001
    EXPECT_EQ(GetFileSize64(Remote(files["dancing"])), std::filesystem::file_size(files["dancing"]));
    EXPECT_EQ(GetFileModTime(Remote(files["dancing"])), kOldTime);

    const std::vector<uint8_t> newer = MakeMp3(SongTags("Pop", "Abba", "Gold", "Fernando", "2"));
    WriteSongFile(local.File("fernando.mp3"), newer);
    SetFileModTime(local.Text("fernando.mp3"), kNewTime, false);
    ASSERT_EQ(RemoteFileCache::Instance().CopyWithProgressRemote(local.Text("fernando.mp3"),
                                                                 Remote(files["fernando"]), false, &progress),
              0); // 3002
    ASSERT_EQ(RemoteFileCache::Instance().MoveRemoteFileLocal(Remote(files["dancing"]), local.Text("dancing.mp3"),
                                                              &progress),
              0); // 3003
    EXPECT_EQ(ReadBytes(local.File("dancing.mp3")), ReadBytes(files["dancing"]));
    EXPECT_EQ(GetFileModTime(local.Text("dancing.mp3")), kOldTime);

    WriteSongFile(local.File("sos.mp3"), MakeMp3(SongTags("Pop", "Abba", "Gold", "SOS", "5")));
    AString placed;
    uint32_t copied = 0;
    ASSERT_EQ(list->AddITunesReadyFile(local.Text("sos.mp3"), placed, AString(), copied), 0); // 1006
    EXPECT_EQ(placed, Remote(ServerMusic("Abba/Gold/05 SOS.mp3")));
    EXPECT_EQ(copied, 1u);
    ASSERT_EQ(list->AddSongFromDisk(placed), 0); // 1007

    ASSERT_EQ(list->DeleteRemoteFile(Remote(files["mamma"]), 0), 0); // 1008
    EXPECT_EQ(list->CreateRemotePlayList(AString("Fresh")), 0);      // 1009
    AString waterloo(ADirTunesRemote::kRootMarker);
    waterloo.AppendPath(EntryOfFile(*list, files["waterloo"]));
    ASSERT_EQ(list->DeleteFile(waterloo, 0, 0), 0);                // 1010
    EXPECT_EQ(list->DeleteRemotePlayList(AString("Mix")), 0);      // 1011
    ITunesPlayDataFields rating;
    rating.rating = true;
    ASSERT_EQ(list->UpdateSongInfo(EntryOfFile(*list, files["fernando"]), AString("/0/0_0/60/*/*"), rating),
              0); // 1012
    EXPECT_EQ(list->Disconnect(), 0); // 1003
    EXPECT_EQ(progress.PendingLog(), AString()) << "no communication error";

    const LibraryState library = StopAndReadLibrary();
    EXPECT_EQ(library.ratingOfFile.count(files["waterloo"]), 0u);
    EXPECT_TRUE(std::filesystem::exists(serverHome.File("Music/iTunes/Removed Files/Abba/Gold/waterloo.mp3")));
    EXPECT_EQ(library.ratingOfFile.at(files["fernando"]), 60u);
    EXPECT_EQ(ReadBytes(files["fernando"]), newer);
    EXPECT_EQ(GetFileModTime(AString(files["fernando"])), kNewTime);
    EXPECT_EQ(library.ratingOfFile.count(ServerMusic("Abba/Gold/05 SOS.mp3")), 1u);
    EXPECT_EQ(ReadBytes(ServerMusic("Abba/Gold/05 SOS.mp3")), ReadBytes(local.File("sos.mp3")));
    // A file deleted by its path leaves its track behind.
    EXPECT_FALSE(std::filesystem::exists(files["mamma"]));
    EXPECT_EQ(library.ratingOfFile.count(files["mamma"]), 1u);
    EXPECT_EQ(library.playLists, std::set<std::string>{"Fresh"});
}

// A two-way sync between a folder of songs here and the library there: the newer file of a song
// replaces the older one on either side, and a song deleted here since the last sync goes from the
// library there.
TEST_F(RemoteLibraryProcessTest, ASyncWithTheRemoteLibraryCopiesSongsBothWays) {
    for (const ServedSong& song : kSongs) {
        WriteSongFile(local.File(song.name + ".mp3"), MakeMp3(song.tags));
        SetFileModTime(local.Text(song.name + ".mp3"), kOldTime, false);
    }
    ASync sync;
    HeadlessActionPresenter confirming([](ASync&, const SyncActionTexts&) { return true; });
    sync.SetPresenter(&confirming);
    sync.SetSideLists(ASync::kSide1, std::make_unique<ADirSongDir>(), std::make_unique<ADirSongDir>());
    sync.SetSideLists(ASync::kSide2, RemoteList(), RemoteList());
    sync.SetDirection(kDirectionBoth);
    sync.SetDeleteMode(1);
    sync.SetKeptAnswers({kAnswerYesToAll, kAnswerYesToAll, kAnswerYesToAll});
    const AString root = AString(local.Path());
    ASSERT_EQ(sync.BuildList1(&root, CancelCallback(), false, false), 0);
    constexpr uint32_t kBuildBoth = ASync::kBuildList1 | ASync::kBuildList2;
    // The first sync finds both sides alike and remembers them.
    ASSERT_EQ(sync.Sync(CancelCallback(), kBuildBoth, false), 0);
    EXPECT_EQ(confirming.GetShownCount(), 0) << "nothing to sync";

    // Since then: a newer Fernando here, a newer Dancing Queen there, Mamma Mia deleted here.
    const std::vector<uint8_t> fernando = MakeMp3(SongTags("Pop", "Abba", "Gold", "Fernando", "2"));
    WriteSongFile(local.File("fernando.mp3"), fernando);
    SetFileModTime(local.Text("fernando.mp3"), kNewTime, false);
    TestSongTags longer = kSongs[2].tags;
    longer.audioFrames = 9;
    const std::vector<uint8_t> dancing = MakeMp3(longer);
    WriteSongFile(files["dancing"], dancing);
    SetFileModTime(AString(files["dancing"]), kNewTime, false);
    std::filesystem::remove(local.File("mamma.mp3"));

    ASSERT_EQ(sync.Sync(CancelCallback(), kBuildBoth, false), 0);
    EXPECT_EQ(confirming.GetShownCount(), 1);
    EXPECT_EQ(ReadBytes(files["fernando"]), fernando);
    EXPECT_EQ(GetFileModTime(AString(files["fernando"])), kNewTime);
    EXPECT_EQ(ReadBytes(local.File("dancing.mp3")), dancing);
    EXPECT_EQ(GetFileModTime(local.Text("dancing.mp3")), kNewTime);
    EXPECT_EQ(ReadBytes(local.File("waterloo.mp3")), ReadBytes(files["waterloo"]));

    const LibraryState library = StopAndReadLibrary();
    EXPECT_EQ(library.ratingOfFile.count(files["mamma"]), 0u);
    EXPECT_FALSE(std::filesystem::exists(files["mamma"]));
    EXPECT_TRUE(std::filesystem::exists(serverHome.File("Music/iTunes/Removed Files/Abba/Gold/mamma.mp3")));
    EXPECT_EQ(library.ratingOfFile.size(), 3u);
}

// Requests over the link that name what the served library does not own, or are not what they claim,
// are refused, and nothing on the server's disk changes.
TEST_F(RemoteLibraryProcessTest, HostileRequestsAreRefusedWithNothingChanged) {
    const std::string secret = serverHome.File("secret.txt");
    WriteText(secret, "secret");
    const std::vector<uint8_t> bytes{1, 2, 3};
    const struct {
        int code;
        std::vector<uint8_t> payload;
        int answer;
    } cases[] = {
        {linkcodes::kCopyWithProgressRemote, SendFilePayload(secret, bytes, kNewTime, 3), kErrorInvalidPath},
        {linkcodes::kMoveRemoteFileLocal, RequestPayload().Text(secret).U32(0).Get(), kErrorInvalidPath},
        {linkcodes::kReadRemoteTags, RequestPayload().Text(ServerMusic("../../../secret.txt")).Get(), kErrorInvalidPath},
        {linkcodes::kAddSongFromDisk, RequestPayload().U32(1).Text(secret).Get(), -1},
        {linkcodes::kInitWPath, RequestPayload().U32(1).Raw({0, 0}).Text("").Get(), -1},
        {linkcodes::kRemoteDeleteFile, RequestPayload().U32(1).Raw({1, 0}).Text(files["waterloo"]).Get(), -1},
        {linkcodes::kStartSession, RequestPayload().U32(1).Get(), -1},
    };
    for (const auto& hostile : cases) {
        ASSERT_EQ(client->Connect(LoopbackServer::kServerText, 0), 0);
        std::vector<uint8_t> answer;
        EXPECT_EQ(client->Exchange(hostile.code, hostile.payload, answer, false, nullptr, 0, 30), hostile.answer)
            << hostile.code;
        EXPECT_EQ(answer, std::vector<uint8_t>(4)) << hostile.code;
        client->Disconnect();
    }
    const LibraryState library = StopAndReadLibrary();
    EXPECT_EQ(library.ratingOfFile.size(), 4u);
    EXPECT_EQ(ReadBytes(secret), std::vector<uint8_t>({'s', 'e', 'c', 'r', 'e', 't'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(serverHome.Path()), {}), 3)
        << "Music, data and the secret: nothing else was made";
}

// A new song that the library there refuses to add leaves no file there: the file sent for it is
// deleted on the server again, and the sync names the failure.
TEST_F(RefusingLibraryProcessTest, ASongTheLibraryRefusesLeavesNoFileThere) {
    WriteSongFile(local.File("sos.mp3"), MakeMp3(SongTags("Pop", "Abba", "Gold", "SOS", "5")));
    AProgress progress;
    ASyncLib sync(&progress);
    HeadlessActionPresenter confirming([](ASync&, const SyncActionTexts&) { return true; });
    sync.SetPresenter(&confirming);
    sync.SetSideLists(ASync::kSide1, std::make_unique<ADirSongDir>(), std::make_unique<ADirSongDir>());
    sync.SetSideLists(ASync::kSide2, RemoteList(), RemoteList());
    sync.SetDirection(kDirection1To2);
    const AString root = AString(local.Path());
    ASSERT_EQ(sync.BuildList1(&root, CancelCallback(), false, false), 0);
    sync.Sync(CancelCallback(), ASync::kBuildList1 | ASync::kBuildList2, false);
    EXPECT_EQ(confirming.GetShownCount(), 1) << "the copy was shown";
    EXPECT_NE(progress.PendingLog().ToUtf8().find("Failed copying"), std::string::npos)
        << progress.PendingLog().ToUtf8();

    const LibraryState library = StopAndReadLibrary();
    EXPECT_EQ(library.ratingOfFile.size(), 4u);
    EXPECT_FALSE(std::filesystem::exists(ServerMusic("Abba/Gold/05 SOS.mp3")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(ServerMusic("Abba/Gold")), {}), 4)
        << "only the library's own songs";
}
