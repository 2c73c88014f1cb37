// The remote library's song list against a link whose answers the test writes: what it sends, what it
// takes from the answers, and the answers it refuses.
#include "remote/ADirTunesRemote.h"

#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "foundation/AProgress.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "foundation/RemoteFileCache.h"
#include "remote/LinkCodes.h"
#include "remote/RemoteSongList.h"
#include "support/AStringPrinting.h"
#include "support/FakeRemotePeer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <map>

namespace {

constexpr uint32_t kSession = 0x5EC1D;

std::vector<uint8_t> StreamBytes(const AMemFile& stream) {
    return std::vector<uint8_t>(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

std::vector<uint8_t> SessionAnswer() {
    std::vector<uint8_t> answer(8);
    StoreLE32(answer.data(), kSession);
    StoreLE32(answer.data() + 4, 77);
    return answer;
}

std::vector<uint8_t> SongsAnswer(const std::vector<RemoteSong>& songs) {
    AMemFile stream;
    RemoteSongList::Write(stream, songs);
    return StreamBytes(stream);
}

RemoteSong Song(int index, const std::string& name, const std::string& host = "box") {
    const std::string entry = "\\Rock\\Artist\\" + name + "?" + std::to_string(100 + index) + ":" +
                              std::to_string(index);
    return RemoteSong{AString(entry), AString("/" + std::to_string(index) + "/0_0/0/*/*"),
                      AString("?" + host + ":/music/" + name + ".mp3"),
                      FileInfo{1, 0, 1, 0, 1000u + index, 3600000000ull + index}};
}

// The fields of a request payload, read in order.
class Fields {
public:
    explicit Fields(const std::vector<uint8_t>& payload)
        : m_stream(payload.data(), static_cast<uint32_t>(payload.size())) {}
    uint32_t U32() {
        uint32_t value = 0;
        EXPECT_EQ(recordio::ReadU32(m_stream, value), 0);
        return value;
    }
    uint8_t U8() {
        uint8_t value = 0;
        EXPECT_EQ(m_stream.Read(&value, 1), 0);
        return value;
    }
    std::string Text() {
        AString text;
        EXPECT_EQ(text.Load(m_stream), 0);
        return text.ToUtf8();
    }
    bool AtEnd() const { return m_stream.GetPosition() == m_stream.GetSize(); }

private:
    AMemFile m_stream;
};

class ADirTunesRemoteTest : public testing::Test {
protected:
    ADirTunesRemoteTest() {
        RemoteFileCache::Instance().Clear();
        list.SetLink(&link);
        list.SetServerAddress("box", nullptr);
        link.handler = [this](const FakeRemotePeer::Call& call, std::vector<uint8_t>& answer) {
            const auto found = answers.find(call.code);
            if (found == answers.end())
                return -4242;
            answer = found->second;
            return 0;
        };
    }
    ~ADirTunesRemoteTest() override { RemoteFileCache::Instance().Clear(); }

    int Open(const std::vector<RemoteSong>& songs) {
        answers[linkcodes::kInitWPath] = SongsAnswer(songs);
        return list.Open(nullptr, 0, CancelCallback());
    }

    std::vector<int> Codes() const {
        std::vector<int> codes;
        for (const auto& call : link.calls)
            codes.push_back(call.code);
        return codes;
    }

    FakeRemotePeer link;
    std::map<int, std::vector<uint8_t>> answers;
    ADirTunesRemote list;
};

} // namespace

TEST_F(ADirTunesRemoteTest, TheCacheHoldsTheServersPlayListsButNotItsLibraryPlayList) {
    answers[linkcodes::kStartSession] = SessionAnswer();
    answers[linkcodes::kGetRemotePlayLists] = RemotePlayLists::Write({{AString("Library"), RemotePlayList::kUser},
                                                                      {AString("A"), RemotePlayList::kUser},
                                                                      {AString("B"), RemotePlayList::kOther}});
    ASSERT_EQ(list.Connect(), 0);
    EXPECT_EQ(list.GetSessionID(), kSession);
    EXPECT_EQ(list.GetListCount(), 2);
    AString name;
    EXPECT_EQ(list.GetListEntry(0, name), 0u);
    EXPECT_EQ(name, "A");
    EXPECT_EQ(list.GetListEntry(1, name), 1u);
    EXPECT_EQ(name, "B");
    EXPECT_EQ(list.GetListEntry(2, name), 1u);
    EXPECT_EQ(name, "");
    std::vector<AString> names;
    ASSERT_EQ(list.GetPlayListNames(names, 0, 1), 0);
    EXPECT_EQ(names, std::vector<AString>{AString("A")});
    list.SetPlayListName(AString("b"));
    EXPECT_EQ(list.IsPlayListReadOnly(), 1);
    // The playlist request carries no payload of its own: the empty word.
    EXPECT_EQ(link.calls.back().code, linkcodes::kGetRemotePlayLists);
    EXPECT_TRUE(link.calls.back().payload.empty());

    // Disconnecting ends the session, once.
    answers[linkcodes::kEndSession] = {0, 0, 0, 0};
    EXPECT_EQ(list.Disconnect(), 0);
    ASSERT_EQ(link.calls.back().code, linkcodes::kEndSession);
    Fields end(link.calls.back().payload);
    EXPECT_EQ(end.U32(), kSession);
    EXPECT_EQ(list.EndSession(), kErrorEndOfStream);
    EXPECT_EQ(link.calls.back().code, linkcodes::kEndSession);
    EXPECT_EQ(link.calls.size(), 3u) << "nothing is sent without a session";
}

TEST_F(ADirTunesRemoteTest, AListOfTheMainListsServerTakesItsPlayLists) {
    answers[linkcodes::kStartSession] = SessionAnswer();
    answers[linkcodes::kGetRemotePlayLists] =
        RemotePlayLists::Write({{AString("Library"), RemotePlayList::kUser}, {AString("A"), RemotePlayList::kUser}});
    ADirTunesRemote::SetMainList(&list);
    ASSERT_EQ(list.Connect(), 0);
    ADirTunesRemote sameServer;
    sameServer.SetLink(&link);
    sameServer.SetServerAddress("box", nullptr);
    ADirTunesRemote otherServer;
    otherServer.SetLink(&link);
    otherServer.SetServerAddress("other", nullptr);
    link.calls.clear();
    ASSERT_EQ(sameServer.Connect(), 0);
    ASSERT_EQ(otherServer.Connect(), 0);
    ADirTunesRemote::SetMainList(nullptr);
    EXPECT_EQ(Codes(), (std::vector<int>{linkcodes::kStartSession, linkcodes::kStartSession,
                                          linkcodes::kGetRemotePlayLists}));
    EXPECT_EQ(sameServer.GetListCount(), 1);
    EXPECT_EQ(otherServer.GetListCount(), 1);
    answers[linkcodes::kEndSession] = {0, 0, 0, 0};
}

TEST_F(ADirTunesRemoteTest, AServerThatCannotBeReachedLeavesTheLibraryPlayListAlone) {
    link.connectResult = linkcodes::kErrorConnectFailed;
    EXPECT_EQ(list.GetRemotePlayLists(), linkcodes::kErrorConnectFailed);
    EXPECT_EQ(list.GetListCount(), 1);
    AString name;
    EXPECT_EQ(list.GetListEntry(0, name), 0u);
    EXPECT_EQ(name, "Library");
}

TEST_F(ADirTunesRemoteTest, StartSessionSendsTheSettingsRecordAndIsTriedOnceMore) {
    AProgress progress;
    list.SetProgress(&progress);
    list.SetPlayListName(AString("Mix"));
    EXPECT_EQ(list.Connect(), -4242);
    ASSERT_EQ(Codes(), (std::vector<int>{linkcodes::kStartSession, linkcodes::kStartSession}));
    EXPECT_EQ(link.connects, 2);
    EXPECT_EQ(link.disconnects, 2);
    EXPECT_EQ(progress.PendingLog(), AString("Communication Error: Start Session\r\n"));
    Fields fields(link.calls[0].payload);
    EXPECT_EQ(fields.U32(), 1u) << "answers may be packed";
    EXPECT_EQ(fields.U32(), ADirTunesRemote::kRecordWord);

    // The record after the first word is the list's own saved form.
    AMemFile saved;
    ASSERT_EQ(list.Save(saved, 0), 0);
    EXPECT_EQ(std::vector<uint8_t>(link.calls[0].payload.begin() + 4, link.calls[0].payload.end()),
              StreamBytes(saved));
    ADirTunesRemote loaded;
    AMemFile reader(saved.GetBuffer(), saved.GetSize());
    ASSERT_EQ(loaded.Load(reader, 0), 0);
    AString playList;
    loaded.GetPlayListName(playList);
    EXPECT_EQ(playList, "Mix");
}

TEST_F(ADirTunesRemoteTest, EntriesNameTheirRemotePathAndKeyByTheirIndex) {
    std::vector<RemoteSong> songs;
    for (int i = 0; i < 9; ++i)
        songs.push_back(Song(i, "Song" + std::to_string(i)));
    ASSERT_EQ(Open(songs), 0);
    ASSERT_EQ(list.GetCount(), 9);
    list.Sort(0);
    AString path;
    ASSERT_EQ(list.GetFullPath(AString("\\Rock\\Artist\\Song7?107:7"), path, 0), 0);
    EXPECT_EQ(path, "?box:/music/Song7.mp3");
    EXPECT_EQ(list.GetSongKey(AString("\\Rock\\Artist\\Song7?107:7")), "/7/0_0/0/*/*");
    EXPECT_EQ(list.GetFullPath(AString("\\Rock\\Artist\\Song7?107:9"), path, 0), kErrorEndOfStream);
    EXPECT_EQ(list.GetFullPath(AString("\\Rock\\Artist\\Song7?107"), path, 0), kErrorEndOfStream);
    // What the server said of the files is known without asking again.
    EXPECT_EQ(GetFileSize64(AString("?box:/music/Song7.mp3")), 1007u);
    EXPECT_EQ(list.GetFileDate(AString("\\Rock\\Artist\\Song3?103:3")), 3600000003ull);
    FileInfo listed;
    ASSERT_TRUE(list.GetListedFileInfo(AString("*RemoteiTunes*/\\Rock\\Artist\\Song3?103:3"), listed));
    EXPECT_EQ(listed.size, 1003u);
    EXPECT_EQ(Codes(), std::vector<int>{linkcodes::kInitWPath});

    // The request: the session id, the flag twice, an empty root.
    Fields fields(link.calls[0].payload);
    EXPECT_EQ(fields.U32(), 0u);
    EXPECT_EQ(fields.U8(), 0u);
    EXPECT_EQ(fields.U8(), 0u);
    EXPECT_EQ(fields.Text(), "");
    EXPECT_TRUE(fields.AtEnd());
}

// What an earlier answer left in the remote file cache gives way to what the server says now.
TEST_F(ADirTunesRemoteTest, ASongListReplacesWhatTheCacheKeptOfAnEarlierOne) {
    RemoteSong song = Song(0, "a");
    ASSERT_EQ(Open({song}), 0);
    EXPECT_EQ(GetFileSize64(song.path), 1000u);
    song.info.size = 2000;
    ASSERT_EQ(Open({song}), 0);
    EXPECT_EQ(GetFileSize64(song.path), 2000u);
    EXPECT_EQ(Codes(), (std::vector<int>{linkcodes::kInitWPath, linkcodes::kInitWPath}));
}

TEST_F(ADirTunesRemoteTest, ChangingTheServerMovesEveryRemotePath) {
    list.SetServerAddress("old", nullptr);
    ASSERT_EQ(Open({Song(0, "x", "old")}), 0);
    const AString newName("New Box");
    list.SetServerAddress("new", &newName);
    AString path;
    ASSERT_EQ(list.GetFullPath(*list.GetEntry(0), path, 0), 0);
    EXPECT_EQ(path, "?new:/music/x.mp3");
    AString description;
    EXPECT_EQ(list.GetDescription(description, 0), "New Box: iTunes:");
}

TEST_F(ADirTunesRemoteTest, HostileSongListsAreRefusedWhole) {
    std::vector<RemoteSong> wrongIndex{Song(0, "a"), Song(1, "b")};
    wrongIndex[1].entry = AString("\\Rock\\Artist\\b?101:5");
    std::vector<RemoteSong> otherHost{Song(0, "a"), Song(1, "b", "elsewhere")};
    std::vector<RemoteSong> noIndex{Song(0, "a")};
    noIndex[0].entry = AString("\\Rock\\Artist\\a?100");
    std::vector<uint8_t> countBeyond = SongsAnswer({Song(0, "a")});
    StoreLE32(countBeyond.data(), 1000000);
    AProgress progress;
    list.SetProgress(&progress);
    for (const std::vector<uint8_t>& hostile :
         {SongsAnswer(wrongIndex), SongsAnswer(otherHost), SongsAnswer(noIndex), countBeyond}) {
        answers[linkcodes::kInitWPath] = hostile;
        EXPECT_EQ(list.Open(nullptr, 0, CancelCallback()), kErrorEndOfStream);
        EXPECT_EQ(list.GetCount(), 0);
    }
    EXPECT_EQ(RemoteFileCache::Instance().Find(AString("?box:/music/a.mp3"), nullptr), -1);
    EXPECT_NE(progress.PendingLog().Find("Communication Error: InitWPath"), -1);
}

TEST_F(ADirTunesRemoteTest, HostileShortAnswersAreRefused) {
    answers[linkcodes::kStartSession] = std::vector<uint8_t>(5);
    answers[linkcodes::kGetRemotePlayLists] = std::vector<uint8_t>{9, 0, 0, 0};
    EXPECT_EQ(list.StartSession(), kErrorEndOfStream);
    EXPECT_EQ(list.GetSessionID(), 0u);
    EXPECT_EQ(list.GetRemotePlayLists(), kErrorEndOfStream);
    EXPECT_EQ(list.GetListCount(), 0) << "a playlist answer that cannot be read leaves none";
}

TEST_F(ADirTunesRemoteTest, ChangesGoToTheServerAsTheSongsItListed) {
    answers[linkcodes::kStartSession] = SessionAnswer();
    answers[linkcodes::kGetRemotePlayLists] = RemotePlayLists::Write({{AString("Library"), RemotePlayList::kUser}});
    answers[linkcodes::kRemoteDeleteFile] = {0, 0, 0, 0};
    answers[linkcodes::kUpdateRemoteSongInfo] = {0, 0, 0, 0};
    answers[linkcodes::kDeleteRemoteFile] = {0, 0, 0, 0};
    ASSERT_EQ(list.Connect(), 0);
    ASSERT_EQ(Open({Song(0, "a")}), 0);
    link.calls.clear();

    // A path of the sync: the list's root joined with the entry; the server is sent its own entry.
    AString path(ADirTunesRemote::kRootMarker);
    path.AppendPath(*list.GetEntry(0));
    EXPECT_EQ(list.DeleteFile(path, 0, 1), 0);
    ITunesPlayDataFields fields;
    fields.rating = true;
    fields.equalizer = true;
    EXPECT_EQ(list.UpdateSongInfo(*list.GetEntry(0), AString("/3/1_0/80/*/Rock"), fields), 0);
    // A remote path deleted as a song list deletes a file goes to the server as a file to delete.
    EXPECT_EQ(list.ADir::DeleteFile(AString("?box:/music/a.mp3"), 0, 0), 0);
    ASSERT_EQ(Codes(), (std::vector<int>{linkcodes::kRemoteDeleteFile, linkcodes::kUpdateRemoteSongInfo,
                                          linkcodes::kDeleteRemoteFile}));
    Fields deleted(link.calls[0].payload);
    EXPECT_EQ(deleted.U32(), kSession);
    EXPECT_EQ(deleted.U8(), 0u);
    EXPECT_EQ(deleted.U8(), 1u);
    EXPECT_EQ(deleted.Text(), "\\Rock\\Artist\\a?100:0");
    Fields updated(link.calls[1].payload);
    EXPECT_EQ(updated.U32(), kSession);
    EXPECT_EQ(updated.Text(), "\\Rock\\Artist\\a?100:0");
    EXPECT_EQ(updated.Text(), "/3/1_0/80/*/Rock");
    // Play count, played date, rating, comment, equalizer.
    for (const uint8_t expected : {0, 0, 1, 0, 1})
        EXPECT_EQ(updated.U8(), expected);
    Fields removed(link.calls[2].payload);
    EXPECT_EQ(removed.U32(), kSession);
    EXPECT_EQ(removed.Text(), "/music/a.mp3");
    // A remote file deleted there is asked again.
    EXPECT_EQ(RemoteFileCache::Instance().Find(AString("?box:/music/a.mp3"), nullptr), -1);
}

TEST_F(ADirTunesRemoteTest, AReadyFileIsSentWithItsTimeAndComesBackAsARemotePath) {
    TempDir dir;
    WriteText(dir.File("song.mp3"), "song bytes");
    SetFileModTime(dir.Text("song.mp3"), 3600000000ull, false);
    AMemFile placed;
    recordio::WriteU32(placed, 1);
    AString("/music/Artist/Album/song.mp3").Serialize(placed);
    answers[linkcodes::kAddITunesReadyFile] = StreamBytes(placed);
    AString remote;
    uint32_t added = 0;
    ASSERT_EQ(list.AddITunesReadyFile(dir.Text("song.mp3"), remote, AString("Target"), added), 0);
    EXPECT_EQ(remote, "?box:/music/Artist/Album/song.mp3");
    EXPECT_EQ(added, 1u);
    ASSERT_EQ(link.calls.size(), 1u);
    EXPECT_EQ(link.calls[0].progressFlags, 1);
    EXPECT_EQ(link.calls[0].progress, &list.GetProgress()) << "the sending shows on the list's progress";
    Fields fields(link.calls[0].payload);
    EXPECT_EQ(fields.U32(), 0u);
    EXPECT_EQ(fields.Text(), "song.mp3");
    EXPECT_EQ(fields.Text(), "Target");
    EXPECT_EQ(fields.U32(), 1u);
    const uint32_t low = fields.U32();
    const uint32_t high = fields.U32();
    EXPECT_EQ(uint64_t(high) << 32 | low, 3600000000ull);
    EXPECT_EQ(fields.U32(), 10u);

    // A missing file and a file of 1,000,000,000 bytes are refused before anything is sent.
    link.calls.clear();
    EXPECT_NE(list.AddITunesReadyFile(dir.Text("missing.mp3"), remote, AString(), added), 0);
    EXPECT_FALSE(FileExists(dir.Text("missing.mp3"))) << "never made to be sent empty";
    {
        AFile big;
        ASSERT_EQ(big.Open(dir.Text("big.mp3"), AFile::kModeWrite, false), 0);
        ASSERT_EQ(big.SetLength(1000000000), 0);
    }
    EXPECT_EQ(list.AddITunesReadyFile(dir.Text("big.mp3"), remote, AString(), added), kErrorNotSupported);
    EXPECT_TRUE(link.calls.empty());
}

// Without a progress object of the sync's, a list reports to the one it was made with: the user's log
// learns what failed, and the sending of a song moves its bar.
TEST(ADirTunesRemoteProgressTest, FailuresAndSendingGoToTheProgressTheListWasMadeWith) {
    FakeRemotePeer link;
    link.handler = [](const FakeRemotePeer::Call&, std::vector<uint8_t>&) { return -10566; };
    AProgress progress;
    ADirTunesRemote list(&progress);
    list.SetLink(&link);
    list.SetServerAddress("box", nullptr);
    EXPECT_EQ(list.Open(nullptr, 0, CancelCallback()), -10566);
    EXPECT_EQ(list.AddSongFromDisk(AString("?box:/music/a.mp3")), -10566);
    TempDir dir;
    WriteText(dir.File("song.mp3"), "song bytes");
    AString placed;
    uint32_t added = 0;
    EXPECT_EQ(list.AddITunesReadyFile(dir.Text("song.mp3"), placed, AString(), added), -10566);
    EXPECT_EQ(link.calls.back().progress, &progress);
    EXPECT_EQ(progress.PendingLog(), "Communication Error: InitWPath\r\n"
                                     "Communication Error: AddSongFromDisk\r\n"
                                     "\r\nCommunication Error: AddITunesReadyFile-10566\r\n");
    // The sync's own progress object, once given, takes them.
    AProgress syncProgress;
    list.SetProgress(&syncProgress);
    EXPECT_EQ(list.StartSession(), -10566);
    EXPECT_EQ(syncProgress.PendingLog(), "Communication Error: Start Session\r\n");
}
