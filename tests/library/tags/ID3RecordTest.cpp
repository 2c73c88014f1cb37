// The record: reading dispatch, the saved form and the remote read.
#include "TagTestBytes.h"
#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RemoteFileCache.h"
#include "library/tags/ID3.h"
#include "support/AStringPrinting.h"
#include "support/FakeRemotePeer.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace tagtest;

namespace {

std::vector<uint8_t> Saved(const ID3& tags) {
    AMemFile stream;
    EXPECT_EQ(tags.Serialize(stream), 0);
    return std::vector<uint8_t>(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

TEST(ID3Read, MissingEmptyAndUntaggedFiles) {
    TempDir dir;
    ID3 tags;
    EXPECT_EQ(tags.Read(dir.Text("missing.mp3")), kErrorFileNotFound);
    EXPECT_EQ(ReadBytesAs(dir.File("empty.mp3"), {}, tags), kErrorInconsistentSize);
    EXPECT_EQ(TextOf(&ID3::GetDisplayName, tags), AString());
    // Shorter than an ID3v1 block: the ID3v1 reader's code, although an ID3v2 tag is there.
    EXPECT_EQ(ReadBytesAs(dir.File("short.mp3"), Tag(3, TextFrame(3, "TIT2", "T")), tags), -15100);

    ASSERT_EQ(ReadBytesAs(dir.File("Song.WAV"), Bytes(300, 7), tags), 0);
    EXPECT_EQ(tags.GetFileSize(), 300u);
    EXPECT_EQ(TextOf(&ID3::GetExtension, tags), AString("WAV"));
    EXPECT_EQ(TextOf(&ID3::GetDisplayName, tags), AString("Song"));
    EXPECT_EQ(TextOf(&ID3::GetPath, tags), dir.Text("Song.WAV"));
    EXPECT_EQ(tags.GetMediaKind(), SongFields::kMediaKindUnset);
    EXPECT_EQ(tags.GetTagKinds(), 0u);
}

TEST(ID3Read, ExtensionInUpperCaseAndDisplayName) {
    TempDir dir;
    ID3 tags;
    ASSERT_EQ(ReadBytesAs(dir.File("Track.MP3"),
                          Concat({Tag(3, TextFrame(3, "TIT2", "Named")), Bytes(200, 0)}), tags),
              0);
    EXPECT_EQ(TextOf(&ID3::GetDisplayName, tags), AString("Named"));
    EXPECT_EQ(tags.GetTagKinds(), SongFields::kTagID3v23);
    ASSERT_EQ(ReadBytesAs(dir.File("no.dot.in.name"), Bytes(10, 1), tags), 0);
    EXPECT_EQ(TextOf(&ID3::GetDisplayName, tags), AString("no.dot.in"));
    ASSERT_EQ(ReadBytesAs(dir.File("plain"), Bytes(10, 1), tags), 0);
    EXPECT_EQ(TextOf(&ID3::GetDisplayName, tags), AString("plain"));
}

TEST(ID3Read, ANewReadForgetsTheOldPictures) {
    TempDir dir;
    ID3 tags;
    ASSERT_EQ(tags.Read(AString(FixturePath("tags/mp4_atomicparsley.m4a"))), 0);
    ASSERT_EQ(tags.GetPictureCount(), 2);
    ASSERT_EQ(ReadBytesAs(dir.File("x.mp3"), Bytes(200, 0), tags), 0);
    EXPECT_EQ(tags.GetPictureCount(), 0);
    EXPECT_EQ(TextOf(&ID3::GetTitle, tags), AString());
}

// Sparse files: only the tags and the first frame hold bytes.
TEST(ID3Read, FilesOfFourGibibytesAndMore) {
    constexpr uint64_t kLarge = (uint64_t(1) << 32) + 5000;
    TempDir dir;
    const std::string mp3 = dir.File("large.mp3");
    WriteBytes(mp3, Concat({Tag(3, TextFrame(3, "TIT2", "Large")), Mpeg1Layer3Frame(9, false, 417)}));
    std::filesystem::resize_file(mp3, kLarge - 128);
    FILE* file = fopen(mp3.c_str(), "ab");
    const Bytes block = ID3v1("", "", "", "", "", 1, 1);
    fwrite(block.data(), 1, block.size(), file);
    fclose(file);
    ID3 tags;
    ASSERT_EQ(tags.Read(AString(mp3)), 0);
    EXPECT_EQ(TextOf(&ID3::GetTitle, tags), AString("Large"));
    EXPECT_EQ(tags.GetFileSize(), static_cast<uint32_t>(kLarge));
    const uint64_t audioBytes = kLarge - Tag(3, TextFrame(3, "TIT2", "Large")).size() - 128;
    EXPECT_EQ(tags.GetDuration(), audioBytes * 8 / 128000);
    uint64_t start = 0;
    uint64_t end = 0;
    ASSERT_EQ(tags.GetAudioRange(start, end), 1);
    EXPECT_EQ(end, kLarge - 129);

    const std::string m4a = dir.File("large.m4a");
    const Bytes head = Mp4File(DataItem("\xA9nam", 1, Text("Large")));
    WriteBytes(m4a, Concat({head, BE32(1), Text("mdat"), BE64(kLarge - head.size())}));
    std::filesystem::resize_file(m4a, kLarge);
    ASSERT_EQ(tags.Read(AString(m4a)), 0);
    EXPECT_EQ(TextOf(&ID3::GetTitle, tags), AString("Large"));
    ASSERT_EQ(tags.GetAudioRange(start, end), 1);
    EXPECT_EQ(start, head.size() + 16);
    EXPECT_EQ(end, kLarge - 1);
}

TEST(ID3Record, SavedFormFieldByField) {
    ID3 tags;
    ASSERT_EQ(tags.Read(AString(FixturePath("tags/mp4_atomicparsley.m4a"))), 0);
    const std::vector<uint8_t> saved = Saved(tags);
    ASSERT_GE(saved.size(), 4u);
    EXPECT_EQ(std::vector<uint8_t>(saved.begin(), saved.begin() + 4),
              (std::vector<uint8_t>{0x0A, 0x00, 0x10, 0x00}));
    // The last 20 bytes: tagKinds, audioStart, audioEnd.
    const std::vector<uint8_t> tail(saved.end() - 20, saved.end());
    EXPECT_EQ(tail, (std::vector<uint8_t>{32, 0, 0,    0,    0x68, 0x06, 0, 0, 0, 0,
                                          0,  0, 0x1E, 0x09, 0,    0,    0, 0, 0, 0}));

    ID3 loaded;
    AMemFile stream(saved.data(), static_cast<uint32_t>(saved.size()));
    ASSERT_EQ(loaded.Load(stream), 0);
    EXPECT_EQ(Saved(loaded), saved);
    EXPECT_EQ(loaded.GetPictureCount(), 0); // pictures are not saved
    EXPECT_TRUE(loaded.IsTVShow());
    EXPECT_EQ(TextOf(&ID3::GetAccountName, loaded), AString("someone@example.com"));
}

TEST(ID3Record, LoadRefusesAnotherVersionAndStopsAtTheFirstFailure) {
    ID3 tags;
    ASSERT_EQ(tags.Read(AString(FixturePath("tags/id3v1_only.mp3"))), 0);
    std::vector<uint8_t> saved = Saved(tags);
    saved[0] = 0x0B;
    ID3 loaded;
    AMemFile wrongVersion(saved.data(), static_cast<uint32_t>(saved.size()));
    EXPECT_EQ(loaded.Load(wrongVersion), kErrorVersion);
    saved[0] = 0x0A;
    AMemFile truncated(saved.data(), static_cast<uint32_t>(saved.size() - 1));
    EXPECT_EQ(loaded.Load(truncated), kErrorEndOfStream);
    EXPECT_EQ(TextOf(&ID3::GetTitle, loaded), AString("Five")); // read before the failure
}

// The record with its path record (version word, 16-bit count, the bytes) left out.
std::vector<uint8_t> WithoutPath(const std::vector<uint8_t>& record) {
    constexpr size_t kPathAt = 4;
    constexpr size_t kPathHeader = 6;
    const size_t pathEnd = kPathAt + kPathHeader + (record.at(kPathAt + 4) | (record.at(kPathAt + 5) << 8));
    std::vector<uint8_t> rest(record.begin(), record.begin() + kPathAt);
    rest.insert(rest.end(), record.begin() + pathEnd, record.end());
    return rest;
}

// The record fuzz target's seeds are saved reads of the song fixtures they are named after, each under
// another path (tests/fixtures/tags/README.md): they load, save unchanged, and hold what a read gives.
TEST(ID3Record, FuzzSeedsAreSavedReadsOfTheFixtures) {
    size_t seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FixturePath("tags/records"))) {
        const std::string name = entry.path().filename().string();
        const std::vector<uint8_t> seed = ReadBytes(entry.path().string());
        ID3 loaded;
        AMemFile stream(seed.data(), static_cast<uint32_t>(seed.size()));
        ASSERT_EQ(loaded.Load(stream), 0) << name;
        EXPECT_EQ(Saved(loaded), seed) << name;
        ID3 read;
        ASSERT_EQ(read.Read(AString(FixturePath("tags/" + entry.path().stem().string()))), 0) << name;
        EXPECT_EQ(WithoutPath(Saved(read)), WithoutPath(seed)) << name;
        ++seeds;
    }
    EXPECT_GE(seeds, 6u);
}

class ID3Remote : public testing::Test {
protected:
    void SetUp() override { RemoteFileCache::Instance().SetPeer(&peer); }
    void TearDown() override { RemoteFileCache::Instance().SetPeer(nullptr); }

    FakeRemotePeer peer;
};

TEST_F(ID3Remote, AsksTheHostAndLoadsItsAnswer) {
    ID3 served;
    ASSERT_EQ(served.Read(AString(FixturePath("tags/v24_mutagen.mp3"))), 0);
    const std::vector<uint8_t> answer = Saved(served);
    peer.handler = [&](const FakeRemotePeer::Call&, std::vector<uint8_t>& out) {
        out = answer;
        return 0;
    };
    ID3 tags;
    const AString remotePath("?otherhost:/Music/Song.mp3");
    ASSERT_EQ(tags.Read(remotePath), 0);
    ASSERT_EQ(peer.calls.size(), 1u);
    const FakeRemotePeer::Call& call = peer.calls[0];
    EXPECT_EQ(call.host, AString("otherhost"));
    EXPECT_EQ(call.code, 2001);
    EXPECT_EQ(call.progressFlags, 3);
    EXPECT_EQ(call.timeoutSeconds, 120);
    AMemFile payload(call.payload.data(), static_cast<uint32_t>(call.payload.size()));
    AString sentPath;
    ASSERT_EQ(sentPath.Load(payload), 0);
    EXPECT_EQ(sentPath, AString("/Music/Song.mp3"));
    EXPECT_EQ(TextOf(&ID3::GetPath, tags), remotePath);
    EXPECT_EQ(TextOf(&ID3::GetAlbum, tags), AString(u"D\u00e9but"));
    EXPECT_EQ(tags.GetPictureCount(), 0);
    EXPECT_EQ(peer.disconnects, 1);
}

TEST_F(ID3Remote, FailuresOfTheLinkAndOfTheAnswer) {
    ID3 tags;
    peer.handler = [](const FakeRemotePeer::Call&, std::vector<uint8_t>& out) {
        out = {1, 2, 3};
        return 0;
    };
    // An answer that does not load is an error, not a success.
    EXPECT_EQ(tags.Read(AString("?otherhost:/a.mp3")), kErrorEndOfStream);
    EXPECT_EQ(peer.disconnects, 1);

    peer.handler = [](const FakeRemotePeer::Call&, std::vector<uint8_t>&) { return -10566; };
    EXPECT_EQ(tags.Read(AString("?otherhost:/a.mp3")), -10566);
    EXPECT_EQ(peer.disconnects, 2);

    peer.connectResult = -10565;
    EXPECT_EQ(tags.Read(AString("?otherhost:/a.mp3")), -10565);
    EXPECT_EQ(peer.disconnects, 2); // nothing to disconnect after a failed connect

    const size_t requests = peer.calls.size();
    EXPECT_EQ(tags.Read(AString("?h:/a.mp3")), -1); // a one-letter host
    EXPECT_EQ(peer.calls.size(), requests);

    RemoteFileCache::Instance().SetPeer(nullptr);
    EXPECT_EQ(tags.Read(AString("?otherhost:/a.mp3")), kErrorNotConnected);
}

} // namespace
