// The foundation's remote file operations and the tag reader, over the real link to a server on
// loopback.
#include "../remote/TestBytes.h"
#include "LoopbackServer.h"
#include "foundation/AFile.h"
#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RemoteFileCache.h"
#include "library/tags/ID3.h"
#include "remote/LinkCodes.h"
#include "server/requests/CopyWithProgressRemoteHandler.h"
#include "support/AStringPrinting.h"

#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

constexpr uint64_t kSomeTime = 3600000000ull;

// Counts the send requests that reach the server, and serves them as usual.
class CountingHandler : public RequestHandler {
public:
    explicit CountingHandler(std::shared_ptr<const PathPolicy> policy) : m_handler(std::move(policy)) {}
    WireMessage Serve(std::span<const uint8_t> payload) override {
        ++calls;
        return m_handler.Serve(payload);
    }
    std::atomic<int> calls = 0;

private:
    CopyWithProgressRemoteHandler m_handler;
};

class RemoteLinkTest : public testing::Test {
protected:
    RemoteLinkTest() : client(server.Client()), policy(std::make_shared<MusicFolderPolicy>(AString(server.MusicFolder()))) {
        std::filesystem::create_directories(server.Music("Artist"));
        auto counting = std::make_unique<CountingHandler>(policy);
        sends = counting.get();
        server.Server().Dispatcher().Register(linkcodes::kCopyWithProgressRemote, std::move(counting));
        RemoteFileCache::Instance().Clear();
        RemoteFileCache::Instance().SetPeer(client.get());
    }
    ~RemoteLinkTest() override {
        RemoteFileCache::Instance().SetPeer(nullptr);
        RemoteFileCache::Instance().Clear();
    }

    static AString Remote(const std::string& path) { return AString("?127.0.0.2:" + path); }

    LoopbackServer server;
    std::unique_ptr<CASockets> client;
    std::shared_ptr<MusicFolderPolicy> policy;
    CountingHandler* sends = nullptr;
    TempDir local;
    AProgress progress;
};

} // namespace

TEST_F(RemoteLinkTest, AFileGoesThereAndComesBackWhole) {
    const std::vector<uint8_t> song = RandomBytes(3 * 1536 + 77, 1);
    WriteBytes(local.File("song.mp3"), song);
    SetFileModTime(local.Text("song.mp3"), kSomeTime, false);
    const std::string there = server.Music("Artist/song.mp3");

    ASSERT_EQ(RemoteFileCache::Instance().CopyWithProgressRemote(local.Text("song.mp3"), Remote(there), false,
                                                                 &progress),
              0);
    EXPECT_EQ(ReadBytes(there), song);
    EXPECT_EQ(GetFileModTime(AString(there)), kSomeTime);

    EXPECT_TRUE(FileExists(Remote(there)));
    EXPECT_EQ(GetFileSize64(Remote(there)), song.size());
    EXPECT_EQ(GetFileModTime(Remote(there)), kSomeTime);

    ASSERT_EQ(
        RemoteFileCache::Instance().MoveRemoteFileLocal(Remote(there), local.Text("back.mp3"), &progress), 0);
    EXPECT_EQ(ReadBytes(local.File("back.mp3")), song);
    EXPECT_EQ(GetFileModTime(local.Text("back.mp3")), kSomeTime);
}

TEST_F(RemoteLinkTest, TagsOfARemoteFileAreReadThere) {
    std::filesystem::copy_file(FixturePath("tags/id3v1_only.mp3"), server.Music("Artist/Five.mp3"));
    ID3 tags;
    ASSERT_EQ(tags.Read(Remote(server.Music("Artist/Five.mp3"))), 0);
    AString title;
    tags.GetTitle(title);
    EXPECT_EQ(title, "Five");
    AString path;
    tags.GetPath(path);
    EXPECT_EQ(path, Remote(server.Music("Artist/Five.mp3")));
    EXPECT_NE(tags.Read(Remote(server.Music("Artist/None.mp3"))), 0);
}

TEST_F(RemoteLinkTest, NothingOutsideTheMusicFolderIsReadOrWritten) {
    TempDir elsewhere;
    WriteText(elsewhere.File("secret.txt"), "secret");
    WriteText(local.File("evil.mp3"), "evil");
    EXPECT_NE(RemoteFileCache::Instance().CopyWithProgressRemote(
                  local.Text("evil.mp3"), Remote(elsewhere.File("secret.txt")), true, &progress),
              0);
    EXPECT_NE(RemoteFileCache::Instance().CopyWithProgressRemote(
                  local.Text("evil.mp3"), Remote(elsewhere.File("new.txt")), true, &progress),
              0);
    EXPECT_NE(RemoteFileCache::Instance().MoveRemoteFileLocal(Remote(elsewhere.File("secret.txt")),
                                                              local.Text("stolen"), &progress),
              0);
    EXPECT_FALSE(FileExists(Remote(elsewhere.File("secret.txt"))));
    ID3 tags;
    EXPECT_NE(tags.Read(Remote(elsewhere.File("secret.txt"))), 0);
    EXPECT_EQ(ReadBytes(elsewhere.File("secret.txt")), std::vector<uint8_t>({'s', 'e', 'c', 'r', 'e', 't'}));
    EXPECT_FALSE(std::filesystem::exists(elsewhere.File("new.txt")));
    EXPECT_FALSE(std::filesystem::exists(local.File("stolen")));
    EXPECT_NE(progress.PendingLog().Find("Communication Error: CopyWithProgressRemote", 0), -1);
}

TEST_F(RemoteLinkTest, AMissingOrTooLargeSourceIsRefusedBeforeAnythingIsSent) {
    const std::string there = server.Music("Artist/big.mp3");
    EXPECT_NE(RemoteFileCache::Instance().CopyWithProgressRemote(local.Text("missing.mp3"), Remote(there),
                                                                 false, &progress),
              0);
    EXPECT_FALSE(std::filesystem::exists(local.File("missing.mp3"))) << "a missing source is not made";
    {
        AFile huge;
        ASSERT_EQ(huge.Open(local.Text("huge.mp3"), AFile::kModeWrite, false), 0);
        ASSERT_EQ(huge.SetLength(1000000000), 0);
    }
    EXPECT_NE(RemoteFileCache::Instance().CopyWithProgressRemote(local.Text("huge.mp3"), Remote(there), false,
                                                                 &progress),
              0);
    EXPECT_EQ(sends->calls, 0);
    EXPECT_FALSE(std::filesystem::exists(there));
}
