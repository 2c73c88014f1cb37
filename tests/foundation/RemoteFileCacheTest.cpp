#include "foundation/RemoteFileCache.h"

#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "foundation/AProgress.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "platform/files/NativeFiles.h"
#include "support/AStringPrinting.h"
#include "support/FakeRemotePeer.h"
#include "support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

class RemoteFileCacheTest : public testing::Test {
protected:
    void SetUp() override {
        RemoteFileCache::Instance().Clear();
        RemoteFileCache::Instance().SetPeer(&peer);
    }
    void TearDown() override {
        RemoteFileCache::Instance().SetPeer(nullptr);
        RemoteFileCache::Instance().Clear();
    }

    FakeRemotePeer peer;
};

std::vector<uint8_t> InfoAnswer(uint64_t size, uint64_t modTime) {
    FileInfo info;
    info.exists = 1;
    info.notHidden = 1;
    info.size = size;
    info.modTime = modTime;
    AMemFile stream;
    info.Serialize(stream);
    return std::vector<uint8_t>(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

AString LoadString(const std::vector<uint8_t>& bytes, size_t offset = 0) {
    AMemFile stream(bytes.data() + offset, static_cast<uint32_t>(bytes.size() - offset));
    AString text;
    EXPECT_EQ(text.Load(stream), 0);
    return text;
}

// One part of a fetched file as the server answers it.
std::vector<uint8_t> PartAnswer(uint64_t modTime, bool more, const std::string& data) {
    AMemFile stream;
    recordio::WriteU64(stream, modTime);
    recordio::WriteU32(stream, more ? 1 : 0);
    recordio::WriteU32(stream, static_cast<uint32_t>(data.size()));
    stream.Write(data.data(), static_cast<uint32_t>(data.size()));
    return std::vector<uint8_t>(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

// A server that gives `size` as the file's size and answers each part request with `part`.
FakeRemotePeer::Handler
FileOfSize(uint64_t size,
           const std::function<int(const FakeRemotePeer::Call&, std::vector<uint8_t>&)>& part) {
    return [size, part](const FakeRemotePeer::Call& call, std::vector<uint8_t>& answer) {
        if (call.code != RemoteFileCache::kRequestFileInfo)
            return part(call, answer);
        answer = InfoAnswer(size, 1);
        return 0;
    };
}

} // namespace

TEST_F(RemoteFileCacheTest, AsksTheHostOnceAndAnswersLaterQuestionsFromTheCache) {
    peer.handler = [](const FakeRemotePeer::Call&, std::vector<uint8_t>& answer) {
        answer = InfoAnswer(4242, 3000000000ull);
        return 0;
    };
    EXPECT_EQ(GetFileSize64(AString("?server:/Music/Song.mp3")), 4242u);
    ASSERT_EQ(peer.calls.size(), 1u);
    EXPECT_EQ(peer.calls[0].host, "server");
    EXPECT_EQ(peer.calls[0].code, 3001);
    EXPECT_EQ(peer.calls[0].timeoutSeconds, 30);
    EXPECT_EQ(LoadString(peer.calls[0].payload), "/Music/Song.mp3");
    EXPECT_EQ(peer.disconnects, 1);

    EXPECT_TRUE(FileExists(AString("?SERVER:/Music/Song.mp3"))) << "host names ignore case";
    EXPECT_EQ(GetFileModTime(AString("?server:/Music/Song.mp3")), 3000000000ull);
    EXPECT_EQ(peer.calls.size(), 1u);

    RemoteFileCache::Instance().Clear();
    GetFileSize64(AString("?server:/Music/Song.mp3"));
    EXPECT_EQ(peer.calls.size(), 2u);
}

// On the other computer "Song.mp3" and "song.mp3" are two files, unless its answer said that the file's
// volume ignores case (FAT): then another spelling is the same file, and forgetting one forgets it.
TEST_F(RemoteFileCacheTest, APathKeepsItsCaseUnlessItsVolumeIgnoresIt) {
    RemoteFileCache& cache = RemoteFileCache::Instance();
    for (const bool foldsCase : {false, true}) {
        SCOPED_TRACE(foldsCase);
        cache.Clear();
        FileInfo song{1, 0, 1, foldsCase ? RemoteFileCache::kCaseFoldingVolume : 0, 100, 3000000000ull};
        cache.Add(AString("?server:/Music/Song.mp3"), song, true);
        FileInfo found;
        EXPECT_GE(cache.Find(AString("?server:/Music/Song.mp3"), &found), 0);
        EXPECT_EQ(cache.Find(AString("?server:/music/song.MP3"), &found) >= 0, foldsCase);
        EXPECT_GE(cache.Find(AString("?Server:/Music/Song.mp3"), &found), 0);

        // Another spelling, a file of its own where case counts: both are known, each by its own size.
        cache.Add(AString("?server:/music/song.mp3"), FileInfo{1, 0, 1, 0, 200, 3000000000ull}, true);
        ASSERT_GE(cache.Find(AString("?server:/Music/Song.mp3"), &found), 0);
        EXPECT_EQ(found.size, 100u);
        cache.Remove(AString("?server:/MUSIC/SONG.MP3"));
        EXPECT_EQ(cache.Find(AString("?server:/Music/Song.mp3"), nullptr) >= 0, !foldsCase);
        EXPECT_GE(cache.Find(AString("?server:/music/song.mp3"), nullptr), 0);
    }
    // What nobody said of another spelling is asked.
    cache.Clear();
    peer.handler = [](const FakeRemotePeer::Call&, std::vector<uint8_t>& answer) {
        answer = InfoAnswer(4242, 3000000000ull);
        return 0;
    };
    cache.Add(AString("?server:/Music/Song.mp3"), FileInfo{1, 0, 1, 0, 100, 3000000000ull}, true);
    EXPECT_EQ(GetFileSize64(AString("?server:/music/song.mp3")), 4242u);
    EXPECT_EQ(peer.calls.size(), 1u);
}

// A file written or deleted on the other computer is asked about again; what is known of its
// neighbours stays, whether they came in order or not.
TEST_F(RemoteFileCacheTest, RemovingAPathForgetsOnlyThatPath) {
    RemoteFileCache& cache = RemoteFileCache::Instance();
    FileInfo info;
    info.exists = 1;
    for (const bool sorted : {true, false}) {
        SCOPED_TRACE(sorted);
        cache.Clear();
        for (const char* path : {"?server:/b.mp3", "?server:/a.mp3", "?server:/c.mp3", "?server:/B.MP3"})
            cache.Add(AString(path), info, sorted);
        cache.Remove(AString("?SERVER:/b.mp3"));
        EXPECT_EQ(cache.Find(AString("?server:/b.mp3"), nullptr), -1);
        EXPECT_GE(cache.Find(AString("?server:/a.mp3"), nullptr), 0);
        EXPECT_GE(cache.Find(AString("?server:/c.mp3"), nullptr), 0);
        cache.Remove(AString("?server:/never-known.mp3"));
        EXPECT_GE(cache.Find(AString("?server:/c.mp3"), nullptr), 0);
    }
    peer.handler = [](const FakeRemotePeer::Call&, std::vector<uint8_t>& answer) {
        answer = InfoAnswer(7, 0);
        return 0;
    };
    EXPECT_EQ(GetFileSize64(AString("?server:/b.mp3")), 7u);
    EXPECT_EQ(GetFileSize64(AString("?server:/a.mp3")), 0u);
    EXPECT_EQ(peer.calls.size(), 1u);
}

TEST_F(RemoteFileCacheTest, FailuresAreNotCachedAndShortHostsAskNothing) {
    peer.handler = [](const FakeRemotePeer::Call&, std::vector<uint8_t>&) { return -10566; };
    EXPECT_FALSE(FileExists(AString("?server:/a")));
    EXPECT_FALSE(FileExists(AString("?server:/a")));
    EXPECT_EQ(peer.calls.size(), 2u);
    EXPECT_EQ(peer.disconnects, 2);
    EXPECT_FALSE(FileExists(AString("?s:/a")));
    EXPECT_EQ(peer.calls.size(), 2u);
    peer.connectResult = -10565;
    EXPECT_FALSE(FileExists(AString("?server:/b")));
    EXPECT_EQ(peer.disconnects, 2);
}

TEST_F(RemoteFileCacheTest, WithoutALinkRemotePathsAreNotConnected) {
    RemoteFileCache::Instance().SetPeer(nullptr);
    TempDir dir;
    WriteText(dir.File("song"), "x");
    EXPECT_FALSE(FileExists(AString("?server:/a")));
    EXPECT_EQ(RemoteFileCache::Instance().CopyWithProgressRemote(dir.Text("song"), AString("?server:/a"),
                                                                 false, nullptr),
              kErrorNotConnected);
    EXPECT_EQ(RemoteFileCache::Instance().MoveRemoteFileLocal(AString("?server:/a"), dir.Text("b"), nullptr),
              kErrorNotConnected);
    EXPECT_FALSE(FileExists(dir.Text("b")));
}

TEST_F(RemoteFileCacheTest, SendingAFileBuildsTheSpecifiedPayload) {
    TempDir dir;
    WriteText(dir.File("Song.mp3"), "audio");
    ASSERT_EQ(SetFileModTime(dir.Text("Song.mp3"), 3100000000ull, false), 0);
    peer.handler = [](const FakeRemotePeer::Call&, std::vector<uint8_t>&) { return 0; };
    ASSERT_EQ(RemoteFileCache::Instance().CopyWithProgressRemote(dir.Text("Song.mp3"),
                                                                 AString("?pc:C:\\M\\S.mp3"), true, nullptr),
              0);
    ASSERT_EQ(peer.calls.size(), 1u);
    const FakeRemotePeer::Call& call = peer.calls[0];
    EXPECT_EQ(call.code, 3002);
    EXPECT_EQ(call.progressFlags, 1);
    EXPECT_EQ(call.timeoutSeconds, 60);
    AMemFile payload(call.payload.data(), static_cast<uint32_t>(call.payload.size()));
    uint32_t force = 0, length = 0;
    uint64_t modTime = 0;
    AString name, remotePath;
    EXPECT_EQ(recordio::ReadU32(payload, force), 0);
    EXPECT_EQ(recordio::ReadU64(payload, modTime), 0);
    EXPECT_EQ(name.Load(payload), 0);
    EXPECT_EQ(remotePath.Load(payload), 0);
    EXPECT_EQ(recordio::ReadU32(payload, length), 0);
    EXPECT_EQ(force, 1u);
    EXPECT_EQ(modTime, 3100000000ull);
    EXPECT_EQ(name, "Song.mp3");
    EXPECT_EQ(remotePath, "C:\\M\\S.mp3");
    EXPECT_EQ(length, 5u);
    EXPECT_EQ(payload.BytesRemaining(), 5u);
}

TEST_F(RemoteFileCacheTest, SendingAMissingFileFailsAndLogs) {
    TempDir dir;
    AProgress progress;
    peer.handler = [](const FakeRemotePeer::Call&, std::vector<uint8_t>&) { return 0; };
    EXPECT_EQ(RemoteFileCache::Instance().CopyWithProgressRemote(dir.Text("missing"), AString("?pc:/x"),
                                                                 false, &progress),
              kErrorOpen);
    EXPECT_TRUE(peer.calls.empty());
    EXPECT_FALSE(FileExists(dir.Text("missing")));
    EXPECT_EQ(progress.PendingLog(), "Communication Error: CopyWithProgressRemote\r\n");
}

TEST_F(RemoteFileCacheTest, FetchingWritesPartsAndKeepsTheTime) {
    TempDir dir;
    WriteText(dir.File("target"), "an older and longer version of the song");
    ASSERT_EQ(SetReadOnly(dir.Text("target"), true), 0);
    peer.handler = FileOfSize(3, [](const FakeRemotePeer::Call& call, std::vector<uint8_t>& answer) {
        AMemFile payload(call.payload.data(), static_cast<uint32_t>(call.payload.size()));
        AString path;
        uint32_t part = 0;
        path.Load(payload);
        recordio::ReadU32(payload, part);
        answer = PartAnswer(3200000000ull, false, part == 0 ? "new" : "");
        return path == "/Music/x.mp3" ? 0 : -1;
    });
    ASSERT_EQ(RemoteFileCache::Instance().MoveRemoteFileLocal(AString("?pc:/Music/x.mp3"), dir.Text("target"),
                                                              nullptr),
              0);
    EXPECT_EQ(ReadBytes(dir.File("target")), (std::vector<uint8_t>{'n', 'e', 'w'}));
    EXPECT_EQ(GetFileModTime(dir.Text("target")), 3200000000ull);
    EXPECT_TRUE(IsReadOnly(dir.Text("target"))) << "a read-only target is replaced and stays read-only";
    ASSERT_EQ(peer.calls.size(), 2u);
    EXPECT_EQ(peer.calls[0].code, 3001) << "the size the fetch may reach";
    EXPECT_EQ(peer.calls[1].code, 3003);
    EXPECT_EQ(peer.calls[1].progressFlags, 2);
    EXPECT_EQ(peer.calls[1].timeoutSeconds, 60);
    std::vector<uint8_t> payload = peer.calls[1].payload;
    EXPECT_EQ(LoadString(payload), "/Music/x.mp3");
    EXPECT_EQ(std::vector<uint8_t>(payload.end() - 4, payload.end()), (std::vector<uint8_t>{0, 0, 0, 0}))
        << "the part number";
}

namespace {

// One whole part of a large file as the server answers it, and whether more follow.
int WholePart(std::vector<uint8_t>& answer, bool more, char first) {
    answer.assign(16 + size_t(RemoteFileCache::kFetchPartSize), 0);
    StoreLE64(answer.data(), 3300000000ull);
    StoreLE32(answer.data() + 8, more ? 1 : 0);
    StoreLE32(answer.data() + 12, RemoteFileCache::kFetchPartSize);
    answer[16] = static_cast<uint8_t>(first);
    return 0;
}

uint32_t PartNumberOf(const FakeRemotePeer::Call& call) {
    return LoadLE32(&call.payload[call.payload.size() - 4]);
}

} // namespace

TEST_F(RemoteFileCacheTest, ALargeFileArrivesInWholePartsAtTheirOffsets) {
    TempDir dir;
    const uint64_t size = uint64_t(RemoteFileCache::kFetchPartSize) + 1;
    peer.handler = FileOfSize(size, [](const FakeRemotePeer::Call& call, std::vector<uint8_t>& answer) {
        if (PartNumberOf(call) == 0)
            return WholePart(answer, true, 'A');
        answer = PartAnswer(3300000000ull, false, "Z");
        return 0;
    });
    ASSERT_EQ(RemoteFileCache::Instance().MoveRemoteFileLocal(AString("?pc:/big"), dir.Text("big"), nullptr),
              0);
    ASSERT_EQ(peer.calls.size(), 3u);
    EXPECT_EQ(PartNumberOf(peer.calls[2]), 1u);
    EXPECT_EQ(GetFileSize64(dir.Text("big")), size);
    AFile file;
    ASSERT_EQ(file.Open(dir.Text("big"), AFile::kModeRead, false), 0);
    char byte = 0;
    ASSERT_EQ(file.Read(&byte, 1), 0);
    EXPECT_EQ(byte, 'A');
    ASSERT_EQ(file.Seek(RemoteFileCache::kFetchPartSize), 0);
    ASSERT_EQ(file.Read(&byte, 1), 0);
    EXPECT_EQ(byte, 'Z');
}

// A server that keeps answering "more" must not fill the disk: the fetch ends at the size it gave.
TEST_F(RemoteFileCacheTest, AFetchStopsAtTheSizeTheHostGave) {
    TempDir dir;
    peer.handler = FileOfSize(RemoteFileCache::kFetchPartSize,
                              [](const FakeRemotePeer::Call&, std::vector<uint8_t>& answer) {
                                  return WholePart(answer, true, 'A');
                              });
    EXPECT_EQ(RemoteFileCache::Instance().MoveRemoteFileLocal(AString("?pc:/endless"), dir.Text("endless"),
                                                              nullptr),
              kErrorInconsistentSize);
    EXPECT_EQ(peer.calls.size(), 2u) << "one part, then no more asked for";
    std::vector<nativefiles::DirectoryEntry> entries;
    nativefiles::ListDirectory(dir.Path(), entries);
    EXPECT_TRUE(entries.empty());
}

TEST_F(RemoteFileCacheTest, AFailedOrInconsistentFetchLeavesTheOldTarget) {
    std::vector<uint8_t> longerThanItSays = PartAnswer(1, false, "x");
    longerThanItSays[12] = 200; // claims more data than came
    const struct {
        const char* what;
        uint64_t size; // what the host says of the file
        std::vector<uint8_t> answer;
        int answerCode;
        int result;
    } cases[] = {
        {"length beyond the data", 1, longerThanItSays, 0, kErrorInconsistentSize},
        {"header cut short", 1, {1, 2, 3, 4, 5, 6, 7, 8, 0, 0}, 0, kErrorInconsistentSize},
        {"more parts after a short part", 10, PartAnswer(1, true, "first part"), 0, kErrorInconsistentSize},
        {"fewer bytes than the host said", 10, PartAnswer(1, false, "short"), 0, kErrorInconsistentSize},
        {"more bytes than the host said", 3, PartAnswer(1, false, "longer"), 0, kErrorInconsistentSize},
        {"the peer's own failure", 1, {}, -10566, -10566},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteText(dir.File("target"), "old");
        peer.calls.clear();
        RemoteFileCache::Instance().Clear();
        peer.handler = FileOfSize(c.size, [&c](const FakeRemotePeer::Call&, std::vector<uint8_t>& answer) {
            answer = c.answer;
            return c.answerCode;
        });
        AProgress progress;
        EXPECT_EQ(
            RemoteFileCache::Instance().MoveRemoteFileLocal(AString("?pc:/x"), dir.Text("target"), &progress),
            c.result)
            << c.what;
        EXPECT_EQ(peer.calls.size(), 2u) << c.what << ": the file's size, then one part";
        EXPECT_EQ(ReadBytes(dir.File("target")), (std::vector<uint8_t>{'o', 'l', 'd'})) << c.what;
        EXPECT_EQ(progress.PendingLog(), "Communication Error: MoveRemoteFileLocal\r\n") << c.what;
        std::vector<nativefiles::DirectoryEntry> entries;
        nativefiles::ListDirectory(dir.Path(), entries);
        EXPECT_EQ(entries.size(), 1u) << c.what << ": no partial file is left";
    }
}

TEST_F(RemoteFileCacheTest, AFileTheHostDoesNotKnowIsNotFetched) {
    TempDir dir;
    peer.handler = [](const FakeRemotePeer::Call& call, std::vector<uint8_t>& answer) {
        answer = call.code == RemoteFileCache::kRequestFileInfo ? std::vector<uint8_t>(32, 0)
                                                                : PartAnswer(1, false, "x");
        return 0;
    };
    EXPECT_EQ(
        RemoteFileCache::Instance().MoveRemoteFileLocal(AString("?pc:/gone"), dir.Text("gone"), nullptr),
        kErrorFileNotFound);
    ASSERT_EQ(peer.calls.size(), 1u);
    EXPECT_FALSE(nativefiles::GetStatus(dir.File("gone")).exists);
}

TEST_F(RemoteFileCacheTest, FilesTooLargeForTheLengthFieldAreRefused) {
    TempDir dir;
    {
        AFile big;
        ASSERT_EQ(big.Open(dir.Text("big"), AFile::kModeWrite, false), 0);
        ASSERT_EQ(big.SetLength(RemoteFileCache::kMaxSendSize), 0);
    }
    EXPECT_EQ(RemoteFileCache::Instance().CopyWithProgressRemote(dir.Text("big"), AString("?pc:/x"), false,
                                                                 nullptr),
              kErrorNotSupported);
    EXPECT_TRUE(peer.calls.empty());
}
