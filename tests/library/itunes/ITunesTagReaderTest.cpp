#include "library/itunes/ITunesTagReader.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::string Fixture(const std::string& name) {
    return std::string(ORVANTIS_FIXTURES) + "/tags/" + name;
}

TEST(ITunesTagReader, ReadsTheFieldsOfASongFile) {
    ITunesTagReader reader;
    itunesapp::SongFields fields;
    ASSERT_TRUE(reader.ReadTags(Fixture("mp4_atomicparsley.m4a"), fields));
    EXPECT_EQ(fields.name, u"MP4 Title");
    EXPECT_EQ(fields.artist, u"MP4 Artist");
    EXPECT_EQ(fields.album, u"MP4 Album");
    EXPECT_EQ(fields.genre, u"Rock");
    EXPECT_EQ(fields.composer, u"MP4 Composer");
    EXPECT_EQ(fields.trackNumber, 5u);
    EXPECT_EQ(fields.year, 2004u);
    ASSERT_TRUE(reader.ReadTags(Fixture("id3v1_only.mp3"), fields));
    EXPECT_EQ(fields.comment, u"A comment");
    EXPECT_EQ(fields.bitRate, 32u);
    EXPECT_EQ(fields.totalTimeMs % 1000, 0u);
    EXPECT_GT(fields.totalTimeMs, 0u);
}

TEST(ITunesTagReader, AFileOfAnotherTypeIsNoSong) {
    ITunesTagReader reader;
    itunesapp::SongFields fields;
    EXPECT_FALSE(reader.ReadTags(Fixture("tiny.jpg"), fields));
    EXPECT_FALSE(reader.ReadTags(Fixture("missing.mp3"), fields));
    EXPECT_FALSE(reader.ReadTags("?host:/music/song.mp3", fields));
}

// An unsynchronised tag holds the picture with stuffing bytes, which are not part of the picture.
TEST(ITunesTagReader, ArtworkIsThePicturesBytesInFileOrder) {
    ITunesTagReader reader;
    const std::vector<uint8_t> jpeg = ReadBytes(Fixture("tiny.jpg"));
    const std::vector<uint8_t> png = ReadBytes(Fixture("tiny.png"));
    EXPECT_EQ(reader.ReadArtwork(Fixture("v24_mutagen.mp3")), (std::vector<std::vector<uint8_t>>{jpeg}));
    EXPECT_EQ(reader.ReadArtwork(Fixture("v23_unsync.mp3")), (std::vector<std::vector<uint8_t>>{jpeg}));
    EXPECT_EQ(reader.ReadArtwork(Fixture("written_unsync_v23.mp3")),
              (std::vector<std::vector<uint8_t>>{jpeg, png}));
    EXPECT_EQ(reader.ReadArtwork(Fixture("mp4_atomicparsley.m4a")),
              (std::vector<std::vector<uint8_t>>{jpeg, png}));
    EXPECT_TRUE(reader.ReadArtwork(Fixture("id3v1_only.mp3")).empty());
}

} // namespace
