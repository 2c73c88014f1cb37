// The handlers that serve the local library, reached by the remote library's song list through a link
// that hands each request straight to the server's dispatcher; the library is the stand-in's, built by
// the test.
#include "DispatcherPeer.h"
#include "LoopbackServer.h"
#include "RequestPayload.h"
#include "foundation/AMemFile.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RemoteFileCache.h"
#include "library/itunes/TunesLibraryFixture.h"
#include "library/songlists/TestSongFiles.h"
#include "platform/itunes/ITunesInstance.h"
#include "platform/sockets/HostAddresses.h"
#include "remote/ADirTunesRemote.h"
#include "remote/CASockets.h"
#include "remote/LinkCodes.h"
#include "server/requests/ASyncWSocksServer.h"
#include "server/requests/LibraryRequestHandlers.h"
#include "server/requests/ServedLibrary.h"
#include "server/requests/SessionTable.h"
#include "support/AStringPrinting.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;

namespace {

constexpr uint32_t kServerAddress = 0x7F000002;
constexpr const char* kServerText = "127.0.0.2";

class LibraryRequestHandlersTest : public TunesLibraryFixture {
protected:
    void SetUp() override {
        TunesLibraryFixture::SetUp();
        m_savedTemp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
        std::filesystem::create_directories(dir.File("tmp"));
        setenv("TMPDIR", dir.File("tmp").c_str(), 1);
        AddFiveSongs();
        server = std::make_unique<ASyncWSocksServer>(kServerAddress, nullptr);
        library = std::make_shared<ServedLibrary>(kConnectLimitMs);
        RegisterLibraryRequestHandlers(*server, library, nullptr, sessions);
        peer = std::make_unique<DispatcherPeer>(*server);
        RemoteFileCache::Instance().Clear();
        RemoteFileCache::Instance().SetPeer(peer.get());
        list.SetLink(peer.get());
        list.SetServerAddress(kServerText, nullptr);
    }
    void TearDown() override {
        RemoteFileCache::Instance().SetPeer(nullptr);
        RemoteFileCache::Instance().Clear();
        list.SetLink(nullptr);
        server.reset();
        if (m_savedTemp.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", m_savedTemp.c_str(), 1);
        TunesLibraryFixture::TearDown();
    }

    WireMessage Serve(int code, const std::vector<uint8_t>& payload) { return server->OnRequest(code, payload); }

    // A file of the music folder, where songs the library takes in are filed.
    std::string InMusic(const std::string& name) const {
        const std::string path = MusicFolder() + "/" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        return path;
    }

    bool TempFolderIsEmpty() const { return std::filesystem::is_empty(dir.File("tmp")); }

    static constexpr int kConnectLimitMs = 400;
    std::shared_ptr<SessionTable> sessions = std::make_shared<SessionTable>();
    std::unique_ptr<ASyncWSocksServer> server;
    std::shared_ptr<ServedLibrary> library;
    std::unique_ptr<DispatcherPeer> peer;
    ADirTunesRemote list;

private:
    std::string m_savedTemp;
};

uint32_t Word(const WireMessage& answer) {
    return answer.payload.size() == 4 ? LoadLE32(answer.payload.data()) : 0xDEADBEEF;
}

} // namespace

TEST_F(LibraryRequestHandlersTest, ASessionListsTheLibraryWithKeysRemotePathsAndFileInformation) {
    ASSERT_EQ(list.Connect(), 0);
    EXPECT_EQ(sessions->Count(), 1u);
    // The client joins the found hosts by the name and address it gave.
    if (const auto address = nativesockets::GetLocalIPv4()) {
        ASSERT_EQ(server->FoundHosts().Count(), 1);
        EXPECT_EQ(server->FoundHosts().GetAddress(0), nativesockets::FormatIPv4(*address));
    }
    ASSERT_EQ(list.Open(nullptr, 0, CancelCallback()), 0);
    ASSERT_EQ(list.GetCount(), 5);
    list.Sort(1);
    std::set<std::string> files;
    for (int i = 0; i < list.GetCount(); ++i) {
        const AString entry = *list.GetEntry(i);
        AString path;
        ASSERT_EQ(list.GetFullPath(entry, path, 0), 0);
        ASSERT_TRUE(path.ToUtf8().starts_with("?127.0.0.2:/")) << path.ToUtf8();
        const std::string file = path.ToUtf8().substr(11);
        files.insert(file);
        EXPECT_EQ(GetFileSize64(path), std::filesystem::file_size(file));
        EXPECT_TRUE(list.GetSongKey(entry).ToUtf8().starts_with("/0/0_0/0/")) << list.GetSongKey(entry).ToUtf8();
    }
    EXPECT_EQ(files, FilesInLibrary());
    EXPECT_EQ(peer->requests, 3) << "start, playlists and the song list; the files' information came along";

    ASSERT_EQ(list.Disconnect(), 0);
    EXPECT_EQ(sessions->Count(), 0u);
    EXPECT_EQ(list.Open(nullptr, 0, CancelCallback()), kErrorEndOfStream) << "no session any more";
}

TEST_F(LibraryRequestHandlersTest, PlayListsAreListedCreatedAndDeleted) {
    MakePlayList(u"Mix", {five});
    ASSERT_EQ(list.GetRemotePlayLists(), 0);
    std::vector<AString> names;
    ASSERT_EQ(list.GetPlayListNames(names, 0, 0), 0);
    EXPECT_EQ(names, std::vector<AString>{AString("Mix")});

    EXPECT_EQ(list.CreateRemotePlayList(AString("last sync")), 0);
    EXPECT_EQ(list.CreateRemotePlayList(AString("mix")), 0) << "one of that name is there";
    EXPECT_EQ(list.CreateRemotePlayList(AString("Fresh")), 0);
    ASSERT_EQ(list.GetRemotePlayLists(), 0);
    names.clear();
    ASSERT_EQ(list.GetPlayListNames(names, 0, 0), 0);
    EXPECT_EQ(names, (std::vector<AString>{AString("Mix"), AString("Fresh")}));

    EXPECT_EQ(list.DeleteRemotePlayList(AString("Fresh")), 0);
    EXPECT_EQ(list.DeleteRemotePlayList(AString("Nothing")), 0) << "no such playlist";
    EXPECT_EQ(list.DeleteRemotePlayList(AString("Library")), 0) << "the library is no user playlist";
    ASSERT_EQ(list.GetRemotePlayLists(), 0);
    EXPECT_EQ(list.GetListCount(), 1);
    EXPECT_EQ(FilesInLibrary().size(), 5u);
}

// Only one playlist request and one song-list request run at a time; a second is answered at once.
TEST_F(LibraryRequestHandlersTest, ASecondPlayListOrSongListRequestIsAnsweredBusyAtOnce) {
    ASSERT_EQ(list.StartSession(), 0);
    const std::vector<uint8_t> songList = RequestPayload().U32(list.GetSessionID()).Raw({0, 0}).Text("").Get();
    ADirTunesRemote second;
    second.SetLink(peer.get());
    second.SetServerAddress(kServerText, nullptr);
    ASSERT_EQ(second.StartSession(), 0);
    const std::vector<uint8_t> otherSongList = RequestPayload().U32(second.GetSessionID()).Raw({0, 0}).Text("").Get();
    for (const auto& [code, first, other, busyWord] :
         {std::tuple{linkcodes::kGetRemotePlayLists, std::vector<uint8_t>(), std::vector<uint8_t>(),
                     linkcodes::kPlayListsBusy},
          std::tuple{linkcodes::kInitWPath, songList, otherSongList, linkcodes::kSongListBusy}}) {
        // While the application cannot answer, the first request waits for it, holding its turn.
        itunesapp::ITunesInstance::Running().SetBusy(true);
        auto running = std::async(std::launch::async, [&, code = code, first = first] { return Serve(code, first); });
        std::this_thread::sleep_for(100ms);
        const WireMessage refused = Serve(code, other);
        EXPECT_EQ(refused.code, -1);
        EXPECT_EQ(static_cast<int32_t>(Word(refused)), busyWord);
        itunesapp::ITunesInstance::Running().SetBusy(false);
        EXPECT_EQ(running.get().code, 0) << "the library answered within the limit";
        EXPECT_EQ(Serve(code, other).code, 0) << "the turn is given back";
    }
}

// A request on a session that another request of its client still uses is told that the session is
// busy, not that it is unknown: the client's session lives on.
TEST_F(LibraryRequestHandlersTest, ARequestOnASessionInUseIsAnsweredBusy) {
    ASSERT_EQ(list.StartSession(), 0);
    const uint32_t id = list.GetSessionID();
    const struct {
        int code;
        std::vector<uint8_t> payload;
    } requests[] = {
        {linkcodes::kInitWPath, RequestPayload().U32(id).Raw({0, 0}).Text("").Get()},
        {linkcodes::kAddITunesReadyFile, RequestPayload().U32(id).Text("x.mp3").Text("").U32(0).Get()},
        {linkcodes::kAddSongFromDisk, RequestPayload().U32(id).Text(five).Get()},
        {linkcodes::kDeleteRemoteFile, RequestPayload().U32(id).Text(five).Get()},
        {linkcodes::kRemoteDeleteFile, RequestPayload().U32(id).Raw({0, 0}).Text("x").Get()},
        {linkcodes::kUpdateRemoteSongInfo, RequestPayload().U32(id).Text("x").Text("/").Raw({0, 0, 0, 0, 0}).Get()},
    };
    {
        const SessionTable::Lease inUse = sessions->Acquire(id);
        ASSERT_TRUE(inUse);
        for (const auto& request : requests) {
            const WireMessage answer = Serve(request.code, request.payload);
            EXPECT_EQ(answer.code, -1) << request.code;
            EXPECT_EQ(static_cast<int32_t>(Word(answer)), linkcodes::kSongListBusy) << request.code;
        }
        const WireMessage unknown = Serve(linkcodes::kInitWPath, RequestPayload().U32(id + 1).Raw({0, 0}).Text("").Get());
        EXPECT_EQ(Word(unknown), 0u) << "an unknown session is still refused as such";
    }
    EXPECT_TRUE(std::filesystem::exists(five));
    EXPECT_EQ(list.Open(nullptr, 0, CancelCallback()), 0) << "the session lived on";
}

TEST_F(LibraryRequestHandlersTest, ALibraryThatNeverAnswersFailsTheRequestAfterTheLimit) {
    itunesapp::ITunesInstance::Running().SetBusy(true);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(list.GetRemotePlayLists(), kErrorITunesBusy);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(2 * kConnectLimitMs)) << "tried, and tried once more";
    EXPECT_LT(took, 5s);
    itunesapp::ITunesInstance::Running().SetBusy(false);
    EXPECT_EQ(list.GetRemotePlayLists(), 0);
}

TEST_F(LibraryRequestHandlersTest, ASentFileIsPlacedInTheMusicFolderAndAddedFromThere) {
    ASSERT_EQ(list.Connect(), 0);
    ASSERT_EQ(list.Open(nullptr, 0, CancelCallback()), 0);
    const std::string local = dir.File("local/new.mp3");
    WriteSongFile(local, MakeMp3(SongTags("Pop", "Abba", "Gold", "Waterloo", "3")));
    SetFileModTime(AString(local), 3600000000ull, false);
    AString placed;
    uint32_t copied = 0;
    ASSERT_EQ(list.AddITunesReadyFile(AString(local), placed, AString(), copied), 0);
    EXPECT_EQ(copied, 1u);
    const std::string file = MusicFolder() + "/Abba/Gold/03 Waterloo.mp3";
    EXPECT_EQ(placed, AString("?127.0.0.2:" + file));
    EXPECT_EQ(ReadBytes(file), ReadBytes(local));
    EXPECT_EQ(GetFileModTime(AString(file)), 3600000000ull);
    EXPECT_TRUE(TempFolderIsEmpty()) << "the sent file's private folder is gone";
    EXPECT_EQ(FilesInLibrary().count(file), 0u) << "placed, not added yet";

    // The song key of the song it was copied from gives the new song its play data.
    const AString key("/7/0_0/80/*/*");
    ASSERT_EQ(list.AddSongFromDisk(placed, &key), 0);
    EXPECT_EQ(FilesInLibrary().count(file), 1u);
    const ITunesTrackValues track = TrackIn(*OtherProgram(), file);
    EXPECT_EQ(track.rating, 80);
    EXPECT_EQ(track.playedCount, 7);
    // The new track's file is the library's now: the file requests may reach it.
    EXPECT_EQ(GetFileSize64(placed), std::filesystem::file_size(file));
}

TEST_F(LibraryRequestHandlersTest, DeletingASongOfTheListMovesItsFileToRemovedFiles) {
    ASSERT_EQ(list.Connect(), 0);
    ASSERT_EQ(list.Open(nullptr, 0, CancelCallback()), 0);
    int index = -1;
    for (int i = 0; i < list.GetCount(); ++i) {
        AString path;
        list.GetFullPath(*list.GetEntry(i), path, 0);
        if (path == AString("?127.0.0.2:" + five))
            index = i;
    }
    ASSERT_GE(index, 0);
    ASSERT_EQ(list.RemoveEntry(index, 1, 0), 0);
    EXPECT_EQ(list.GetCount(), 4);
    EXPECT_FALSE(std::filesystem::exists(five));
    EXPECT_TRUE(std::filesystem::exists(dir.File("Music/iTunes/Removed Files/Some Artist/An Album/five.mp3")));
    EXPECT_EQ(FilesInLibrary().count(five), 0u);

    // A file of the library deleted by its path goes the same way; the library keeps its track.
    ASSERT_EQ(list.DeleteRemoteFile(AString("?127.0.0.2:" + bjork), 0), 0);
    EXPECT_FALSE(std::filesystem::exists(bjork));
    EXPECT_EQ(FilesInLibrary().count(bjork), 1u);
}

TEST_F(LibraryRequestHandlersTest, PlayDataIsWrittenOntoTheSongOfAnEntry) {
    ASSERT_EQ(list.Connect(), 0);
    ASSERT_EQ(list.Open(nullptr, 0, CancelCallback()), 0);
    AString entry;
    for (int i = 0; i < list.GetCount(); ++i) {
        AString path;
        list.GetFullPath(*list.GetEntry(i), path, 0);
        if (path == AString("?127.0.0.2:" + ubung))
            entry = *list.GetEntry(i);
    }
    ITunesPlayDataFields fields;
    fields.rating = true;
    fields.playedCount = true;
    ASSERT_EQ(list.UpdateSongInfo(entry, AString("/7/0_0/80/*/*"), fields), 0);
    const ITunesTrackValues track = TrackIn(*OtherProgram(), ubung);
    EXPECT_EQ(track.rating, 80);
    EXPECT_EQ(track.playedCount, 7);
}

// Requests that name files the library does not own, or that are not what they claim, are refused,
// and nothing on disk or in the library changes.
TEST_F(LibraryRequestHandlersTest, HostileRequestsAreRefusedAndNothingChanges) {
    ASSERT_EQ(list.Connect(), 0);
    const uint32_t id = list.GetSessionID();
    const std::string secret = dir.File("secret.mp3");
    WriteSongFile(secret, MakeMp3(SongTags("Pop", "Secret", "Private", "Diary")));
    const std::string music = InMusic("Abba/Gold/ok.mp3");
    WriteSongFile(music, MakeMp3(SongTags("Pop", "Abba", "Gold", "Ok")));
    std::filesystem::create_directory_symlink(dir.File("songs"), InMusic("escape"));
    const std::string escaped = MusicFolder() + "/escape/Jazz/bjork.mp3";
    const std::string climbing = MusicFolder() + "/../../../secret.mp3";
    const std::vector<uint8_t> song = MakeMp3(SongTags("Pop", "Abba", "Gold", "Waterloo"));
    const auto libraryBefore = FilesInLibrary();
    const auto libraryText = LibraryText();

    const struct {
        int code;
        std::vector<uint8_t> payload;
        int answer;
        const char* why;
    } cases[] = {
        {linkcodes::kAddSongFromDisk, RequestPayload().U32(id).Text(secret).Get(), kErrorInvalidPath,
         "a file outside the music folder is never added"},
        {linkcodes::kAddSongFromDisk, RequestPayload().U32(id).Text(escaped).Get(), kErrorInvalidPath,
         "nor one reached through a link out of it"},
        {linkcodes::kAddSongFromDisk, RequestPayload().U32(id).Text(climbing).Get(), kErrorInvalidPath,
         "nor one named with '..'"},
        {linkcodes::kAddSongFromDisk, RequestPayload().U32(id + 1).Text(music).Get(), -1, "another session"},
        {linkcodes::kDeleteRemoteFile, RequestPayload().U32(id).Text(secret).Get(), kErrorInvalidPath,
         "a file that is no track and not in the music folder"},
        {linkcodes::kDeleteRemoteFile, RequestPayload().U32(id).Text(escaped).Get(), kErrorInvalidPath,
         "through a link"},
        {linkcodes::kAddITunesReadyFile,
         RequestPayload().U32(id).Text("../../x.mp3").Text("").U32(1).U64(0).U32(song.size()).Raw(song).Get(),
         kErrorInvalidPath, "a sent file's name with folders"},
        {linkcodes::kAddITunesReadyFile,
         RequestPayload().U32(id).Text("..").Text("").U32(1).U64(0).U32(song.size()).Raw(song).Get(),
         kErrorInvalidPath, "a sent file named .."},
        {linkcodes::kAddITunesReadyFile, RequestPayload().U32(id).Text(secret).Text("").U32(0).Get(),
         kErrorInvalidPath, "a file of the user named without data"},
        {linkcodes::kAddITunesReadyFile,
         RequestPayload().U32(id).Text("x.mp3").Text("").U32(1).U64(0).U32(song.size() + 1).Raw(song).Get(), -1,
         "fewer bytes than said"},
        {linkcodes::kRemoteDeleteFile, RequestPayload().U32(id).Raw({0, 0}).Text(secret).Get(), -1,
         "a path that names no song of the list"},
        {linkcodes::kCopyWithProgressRemote, SendFilePayload(secret, song, 0, song.size()), kErrorInvalidPath,
         "a file of the user overwritten"},
        {linkcodes::kGetRemoteFileInfo, RequestPayload().Text(secret).Get(), kErrorInvalidPath,
         "a file of the user asked about"},
        {linkcodes::kMoveRemoteFileLocal, RequestPayload().Text(secret).U32(0).Get(), kErrorInvalidPath,
         "a file of the user fetched"},
        {linkcodes::kReadRemoteTags, RequestPayload().Text(escaped).Get(), kErrorInvalidPath,
         "a track's file reached by another name"},
        {linkcodes::kStartSession, RequestPayload().U32(1).U32(7).Text("").Get(), -1, "cut short"},
        {linkcodes::kInitWPath, RequestPayload().U32(id).Get(), -1, "without its flags and root"},
        {linkcodes::kUpdateRemoteSongInfo, RequestPayload().U32(id).Text("x").Text("/").Raw({1, 1}).Get(), -1,
         "without all its flags"},
    };
    for (const auto& hostile : cases) {
        const WireMessage answer = Serve(hostile.code, hostile.payload);
        EXPECT_EQ(answer.code, hostile.answer) << hostile.why;
        EXPECT_EQ(Word(answer), 0u) << hostile.why;
    }
    EXPECT_EQ(FilesInLibrary(), libraryBefore);
    EXPECT_EQ(LibraryText(), libraryText);
    EXPECT_TRUE(std::filesystem::exists(secret));
    EXPECT_TRUE(std::filesystem::exists(bjork));
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.mp3")));
    EXPECT_FALSE(std::filesystem::exists(MusicFolder() + "/Abba/Gold/Waterloo.mp3"));
    EXPECT_TRUE(TempFolderIsEmpty());
    EXPECT_EQ(sessions->Count(), 1u) << "a malformed start makes no session";

    // A track of the library outside the music folder is the library's to give.
    EXPECT_EQ(Serve(linkcodes::kGetRemoteFileInfo, RequestPayload().Text(bjork).Get()).code, 0);
}

// At exit the server stops listening and waits for every connection's request to end before the
// handlers, their sessions and the library go.
TEST_F(LibraryRequestHandlersTest, StoppingTheServerWaitsForTheRequestsItServes) {
    ASSERT_EQ(list.StartSession(), 0);
    const uint32_t id = list.GetSessionID();
    server->SetBasePort(LoopbackServer::RandomPort());
    ASSERT_TRUE(server->StartListening());
    ASSERT_FALSE(server->BindFailed());
    // The song list waits for a library that does not answer, holding its session.
    itunesapp::ITunesInstance::Running().SetBusy(true);
    CASockets client(LoopbackServer::kClientAddress);
    client.SetBasePort(server->GetBasePort());
    auto request = std::async(std::launch::async, [&] {
        std::vector<uint8_t> answer;
        if (client.Connect(kServerText, 0) != 0)
            return -12345;
        const int result = client.Exchange(linkcodes::kInitWPath, RequestPayload().U32(id).Raw({0, 0}).Text("").Get(),
                                           answer, false, nullptr, 0, 30);
        client.Disconnect();
        return result;
    });
    while (sessions->Acquire(id))
        std::this_thread::sleep_for(5ms);
    const auto start = std::chrono::steady_clock::now();
    server.reset();
    EXPECT_GE(std::chrono::steady_clock::now() - start, 100ms) << "the running request was waited for";
    EXPECT_NE(request.get(), 0) << "its answer went nowhere";
    itunesapp::ITunesInstance::Running().SetBusy(false);
    EXPECT_TRUE(sessions->Acquire(id)) << "its session was given back before the handlers went";
}
