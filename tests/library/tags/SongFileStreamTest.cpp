// The stream the tag readers read song files through: any piece, in any order, gives the file's bytes.
#include "library/tags/SongFileStream.h"

#include "foundation/ErrorCodes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Numbered(size_t length) {
    Bytes bytes(length);
    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
    return bytes;
}

constexpr uint64_t kWindow = SongFileStream::kWindowLength;

// Pieces as the readers ask for them: the end first, then headers here and there, across the window's
// edges and longer than the window.
TEST(SongFileStream, EveryPieceInAnyOrderIsTheFilesBytes) {
    for (const uint64_t fileLength : {uint64_t(300), kWindow, kWindow + 1, 5 * kWindow + 77}) {
        TempDir dir;
        const Bytes file = Numbered(fileLength);
        WriteBytes(dir.File("song.mp3"), file);
        SongFileStream stream;
        ASSERT_EQ(stream.OpenSong(dir.Text("song.mp3")), 0);
        EXPECT_EQ(stream.GetLength(), fileLength);
        const struct {
            uint64_t at;
            uint64_t length;
        } pieces[] = {{fileLength - 128, 128}, {0, 10},           {10, 200},          {kWindow - 3, 8},
                      {5, 2 * kWindow},        {kWindow + 1, 60}, {fileLength - 1, 1}};
        for (const auto& piece : pieces) {
            if (piece.at + piece.length > fileLength)
                continue;
            Bytes got(piece.length);
            ASSERT_EQ(stream.Seek(piece.at), 0);
            ASSERT_EQ(stream.Read(got.data(), static_cast<uint32_t>(got.size())), 0)
                << fileLength << " at " << piece.at;
            EXPECT_EQ(got, Bytes(file.begin() + piece.at, file.begin() + piece.at + piece.length))
                << fileLength << " at " << piece.at;
            EXPECT_EQ(stream.GetPosition(), piece.at + piece.length);
        }
    }
}

TEST(SongFileStream, ReadsAtTheEnd) {
    TempDir dir;
    const Bytes file = Numbered(kWindow + 100);
    WriteBytes(dir.File("song.mp3"), file);
    SongFileStream stream;
    ASSERT_EQ(stream.OpenSong(dir.Text("song.mp3")), 0);
    Bytes got(300);
    ASSERT_EQ(stream.Seek(file.size() - 50), 0);
    uint32_t count = 0;
    ASSERT_EQ(stream.Read(got.data(), 300, &count), 0);
    EXPECT_EQ(count, 50u);
    EXPECT_EQ(Bytes(got.begin(), got.begin() + 50), Bytes(file.end() - 50, file.end()));
    ASSERT_EQ(stream.Seek(file.size() - 50), 0);
    EXPECT_EQ(stream.Read(got.data(), 300), kErrorShortRead);
    ASSERT_EQ(stream.Seek(file.size() + 1000), 0);
    ASSERT_EQ(stream.Read(got.data(), 300, &count), 0);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(stream.Write(got.data(), 1), kErrorWrite);
}

// What names no regular file is refused at once, without waiting for a pipe's writer.
TEST(SongFileStream, OnlyRegularFilesOpen) {
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.File("pipe.mp3").c_str(), 0600), 0);
    SongFileStream stream;
    EXPECT_EQ(stream.OpenSong(dir.Text("missing.mp3")), kErrorFileNotFound);
    EXPECT_EQ(stream.OpenSong(AString(dir.Path())), kErrorFileNotFound);
    EXPECT_EQ(stream.OpenSong(dir.Text("pipe.mp3")), kErrorFileNotFound);
    EXPECT_EQ(stream.OpenSong(dir.Text("missing/song.mp3")), kErrorFileNotFound);
    Bytes byte(1);
    EXPECT_EQ(stream.Read(byte.data(), 1), kErrorRead);
}

} // namespace
