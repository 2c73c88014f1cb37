#include "server/requests/FileRequestHandlers.h"

#include "../remote/TestBytes.h"
#include "RequestPayload.h"
#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileInfo.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "library/tags/ID3.h"
#include "remote/LinkCodes.h"
#include "remote/MessageChecksum.h"
#include "server/requests/MusicFolderPolicy.h"
#include "server/requests/RequestDispatcher.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uint64_t kSomeTime = 3600000000ull; // seconds since 1904, in 2018

std::vector<uint8_t> SendFilePayload(const std::string& target, const std::vector<uint8_t>& bytes,
                                     uint32_t claimedLength) {
    return ::SendFilePayload(target, bytes, kSomeTime, claimedLength);
}

std::vector<uint8_t> SendFilePayload(const std::string& target, const std::vector<uint8_t>& bytes) {
    return SendFilePayload(target, bytes, static_cast<uint32_t>(bytes.size()));
}

class FileRequestHandlersTest : public testing::Test {
protected:
    FileRequestHandlersTest() : policy(std::make_shared<MusicFolderPolicy>(AString(music))) {
        std::filesystem::create_directories(music + "/Artist");
        WriteText(music + "/Artist/Song.mp3", "song");
        WriteText(outside.File("secret.txt"), "secret");
        RegisterFileRequestHandlers(dispatcher, policy);
    }

    // A streamed answer is read whole, and its checksum must be the one its header would carry.
    WireMessage Serve(int code, const std::vector<uint8_t>& payload) const {
        WireMessage answer = dispatcher.Dispatch(code, payload);
        if (answer.body) {
            answer.payload.resize(answer.body->Size());
            EXPECT_EQ(answer.body->Read(answer.payload), 0);
            EXPECT_EQ(MessageChecksum(answer.payload), answer.body->Checksum());
        }
        return answer;
    }

    static uint32_t Word(const WireMessage& answer) {
        EXPECT_EQ(answer.payload.size(), 4u);
        return answer.payload.size() == 4 ? LoadLE32(answer.payload.data()) : 0xDEADBEEF;
    }

    TempDir base;
    TempDir outside;
    std::string music = base.File("Music");
    std::shared_ptr<MusicFolderPolicy> policy;
    RequestDispatcher dispatcher{nullptr};
};

} // namespace

TEST_F(FileRequestHandlersTest, FileInformationOfAFileAFolderAndAMissingFile) {
    SetFileModTime(AString(music + "/Artist/Song.mp3"), kSomeTime, false);
    const struct {
        std::string path;
        FileInfo expected;
    } cases[] = {
        {music + "/Artist/Song.mp3", FileInfo{1, 0, 1, 0, 4, kSomeTime}},
        {music + "/Artist", FileInfo{1, 1, 0, 0, 0, 0}},
        {music + "/Artist/Missing.mp3", FileInfo{}},
    };
    for (const auto& example : cases) {
        const WireMessage answer =
            Serve(linkcodes::kGetRemoteFileInfo, RequestPayload().Text(example.path).Get());
        ASSERT_EQ(answer.code, 0) << example.path;
        AMemFile reader(answer.payload.data(), static_cast<uint32_t>(answer.payload.size()));
        FileInfo info;
        ASSERT_EQ(info.Load(reader), 0);
        EXPECT_EQ(info.exists, example.expected.exists) << example.path;
        EXPECT_EQ(info.isDirectory, example.expected.isDirectory) << example.path;
        EXPECT_EQ(info.size, example.expected.size) << example.path;
        EXPECT_EQ(info.modTime, example.expected.modTime) << example.path;
    }
}

TEST_F(FileRequestHandlersTest, TagsComeAsTheSavedRecordOfTheTagReader) {
    std::filesystem::copy_file(FixturePath("tags/id3v1_only.mp3"), music + "/Artist/Five.mp3");
    const WireMessage answer =
        Serve(linkcodes::kReadRemoteTags, RequestPayload().Text(music + "/Artist/Five.mp3").Get());
    ASSERT_EQ(answer.code, 0);
    ID3 remote;
    AMemFile reader(answer.payload.data(), static_cast<uint32_t>(answer.payload.size()));
    ASSERT_EQ(remote.Load(reader), 0);
    ID3 local;
    ASSERT_EQ(local.Read(AString(music + "/Artist/Five.mp3")), 0);
    AString remoteArtist, localArtist;
    remote.GetArtist(remoteArtist);
    local.GetArtist(localArtist);
    EXPECT_EQ(remoteArtist, localArtist);
    EXPECT_EQ(remoteArtist, "Some Artist");
    EXPECT_EQ(remote.GetDuration(), local.GetDuration());

    const WireMessage missing =
        Serve(linkcodes::kReadRemoteTags, RequestPayload().Text(music + "/Artist/None.mp3").Get());
    EXPECT_EQ(missing.code, kErrorFileNotFound);
    EXPECT_EQ(Word(missing), 0u);
}

TEST_F(FileRequestHandlersTest, ASentFileReplacesItsTargetWithItsTime) {
    const std::string target = music + "/Artist/Song.mp3";
    const WireMessage answer =
        Serve(linkcodes::kCopyWithProgressRemote, SendFilePayload(target, Bytes("new song")));
    EXPECT_EQ(answer.code, 0);
    EXPECT_EQ(Word(answer), 0u);
    EXPECT_EQ(ReadBytes(target), Bytes("new song"));
    EXPECT_EQ(GetFileModTime(AString(target)), kSomeTime);
    // A read-only target is replaced too, and stays read-only.
    chmod(target.c_str(), 0444);
    EXPECT_EQ(Serve(linkcodes::kCopyWithProgressRemote, SendFilePayload(target, Bytes("newer"))).code, 0);
    EXPECT_EQ(ReadBytes(target), Bytes("newer"));
    EXPECT_TRUE(IsReadOnly(AString(target)));
    const std::string fresh = music + "/Artist/Fresh.mp3";
    EXPECT_EQ(Serve(linkcodes::kCopyWithProgressRemote, SendFilePayload(fresh, {})).code, 0);
    EXPECT_EQ(ReadBytes(fresh), std::vector<uint8_t>());
}

TEST_F(FileRequestHandlersTest, FetchedPartsCarryTimeMoreFlagAndBytes) {
    const std::string song = music + "/Artist/Song.mp3";
    SetFileModTime(AString(song), kSomeTime, false);
    // Read from the file as it is sent, never held whole.
    EXPECT_TRUE(dispatcher.Dispatch(linkcodes::kMoveRemoteFileLocal, RequestPayload().Text(song).U32(0).Get()).body);
    const WireMessage first =
        Serve(linkcodes::kMoveRemoteFileLocal, RequestPayload().Text(song).U32(0).Get());
    ASSERT_EQ(first.code, 0);
    ASSERT_EQ(first.payload.size(), 16u + 4u);
    EXPECT_EQ(LoadLE64(first.payload.data()), kSomeTime);
    EXPECT_EQ(LoadLE32(first.payload.data() + 8), 0u);
    EXPECT_EQ(LoadLE32(first.payload.data() + 12), 4u);
    EXPECT_EQ(std::vector<uint8_t>(first.payload.begin() + 16, first.payload.end()), Bytes("song"));
    const WireMessage beyond =
        Serve(linkcodes::kMoveRemoteFileLocal, RequestPayload().Text(song).U32(1).Get());
    EXPECT_NE(beyond.code, 0) << "a part after the end of the file";
}

// A large part's checksum is summed in ranges at once: it must still be the sum of its bytes, of an
// odd length too.
TEST_F(FileRequestHandlersTest, ALargePartCarriesTheChecksumOfItsBytes) {
    const std::string large = music + "/Artist/Large.mp3";
    std::vector<uint8_t> bytes((17u << 20) + 3);
    std::mt19937 random(5);
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(random());
    WriteBytes(large, bytes);
    const WireMessage part = Serve(linkcodes::kMoveRemoteFileLocal, RequestPayload().Text(large).U32(0).Get());
    ASSERT_EQ(part.code, 0);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), part.payload.begin() + 16, part.payload.end()));
}

TEST_F(FileRequestHandlersTest, AFileOneByteOver300MiBComesInTwoParts) {
    const std::string big = music + "/Artist/Big.mp3";
    {
        AFile file;
        ASSERT_EQ(file.Open(AString(big), AFile::kModeWrite, false), 0);
        ASSERT_EQ(file.SetLength(314572801), 0);
        ASSERT_EQ(file.Seek(314572800), 0);
        const uint8_t last = 0x5A;
        ASSERT_EQ(file.Write(&last, 1), 0);
    }
    const WireMessage first = Serve(linkcodes::kMoveRemoteFileLocal, RequestPayload().Text(big).U32(0).Get());
    ASSERT_EQ(first.code, 0);
    EXPECT_EQ(LoadLE32(first.payload.data() + 8), 1u);
    EXPECT_EQ(LoadLE32(first.payload.data() + 12), 314572800u);
    const WireMessage second =
        Serve(linkcodes::kMoveRemoteFileLocal, RequestPayload().Text(big).U32(1).Get());
    ASSERT_EQ(second.code, 0);
    ASSERT_EQ(second.payload.size(), 17u);
    EXPECT_EQ(LoadLE32(second.payload.data() + 8), 0u);
    EXPECT_EQ(second.payload[16], 0x5A);
}

// Each request for a path outside the music folder is refused, and nothing on disk changes.
TEST_F(FileRequestHandlersTest, PathsOutsideTheMusicFolderAreRefusedAndNothingIsTouched) {
    std::filesystem::create_symlink(outside.Path(), music + "/escape");
    const std::string paths[] = {
        outside.File("secret.txt"),
        music + "/../" + std::filesystem::path(outside.Path()).filename().string() + "/secret.txt",
        music + "/escape/secret.txt",
        "/etc/passwd",
        "relative/secret.txt",
    };
    for (const std::string& path : paths) {
        for (const auto& [code, payload] : std::vector<std::pair<int, std::vector<uint8_t>>>{
                 {linkcodes::kReadRemoteTags, RequestPayload().Text(path).Get()},
                 {linkcodes::kGetRemoteFileInfo, RequestPayload().Text(path).Get()},
                 {linkcodes::kMoveRemoteFileLocal, RequestPayload().Text(path).U32(0).Get()},
                 {linkcodes::kCopyWithProgressRemote, SendFilePayload(path, Bytes("overwritten"))},
             }) {
            const WireMessage answer = Serve(code, payload);
            EXPECT_EQ(answer.code, kErrorInvalidPath) << code << " " << path;
            EXPECT_EQ(Word(answer), 0u);
        }
    }
    EXPECT_EQ(ReadBytes(outside.File("secret.txt")), Bytes("secret"));
    EXPECT_FALSE(std::filesystem::exists(music + "/escape/new.mp3"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(outside.Path()), {}), 1);
}

TEST_F(FileRequestHandlersTest, MalformedRequestsAreRefusedAndNothingIsWritten) {
    const std::string target = music + "/Artist/New.mp3";
    const std::vector<uint8_t> whole = SendFilePayload(target, Bytes("0123456789"));
    const struct {
        int code;
        std::vector<uint8_t> payload;
        int answer;
        const char* why;
    } cases[] = {
        {linkcodes::kCopyWithProgressRemote, SendFilePayload(target, Bytes("0123"), 10), -1,
         "fewer bytes than said"},
        {linkcodes::kCopyWithProgressRemote, std::vector<uint8_t>(whole.begin(), whole.begin() + 20), -1,
         "cut short"},
        {linkcodes::kCopyWithProgressRemote, SendFilePayload(music + "/No Folder/x/y.mp3", Bytes("z")),
         kErrorOpen, "a folder that does not exist"},
        {linkcodes::kGetRemoteFileInfo, RequestPayload().U32(0x100003).Raw(Bytes("\x04\x00\xff\xfe")).Get(),
         kErrorVersion, "a text record of another version"},
        {linkcodes::kGetRemoteFileInfo, {}, -1, "no payload"},
        {linkcodes::kReadRemoteTags, RequestPayload().U32(7).Get(), -1, "no text"},
        {linkcodes::kMoveRemoteFileLocal, RequestPayload().Text(music + "/Artist/Song.mp3").Get(), -1,
         "no part number"},
    };
    for (const auto& example : cases) {
        const WireMessage answer = Serve(example.code, example.payload);
        EXPECT_EQ(answer.code, example.answer) << example.why;
    }
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_FALSE(std::filesystem::exists(music + "/No Folder"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(music + "/Artist"), {}), 1)
        << "no temporary file left";
}
