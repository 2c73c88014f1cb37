#include "TagTestBytes.h"
#include "library/tags/ID3.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace tagtest;

namespace {

TEST(ID3v1, FieldsOfTheBlock) {
    TempDir dir;
    ID3 tags;
    const Bytes audio(500, 0);
    const Bytes file = Concat(
        {audio, ID3v1("Title                         ", "   ", "  Album  ", "1999", "Comment", 200, 17)});
    ASSERT_EQ(ReadBytesAs(dir.File("a.mp3"), file, tags), 0);
    EXPECT_EQ(TextOf(&ID3::GetTitle, tags), AString("Title"));
    EXPECT_EQ(TextOf(&ID3::GetArtist, tags), AString());
    EXPECT_EQ(TextOf(&ID3::GetAlbum, tags), AString("Album"));
    EXPECT_EQ(TextOf(&ID3::GetComment, tags), AString("Comment"));
    EXPECT_EQ(TextOf(&ID3::GetGenre, tags), AString("Rock"));
    EXPECT_EQ(tags.GetYear(), 1999u);
    EXPECT_EQ(tags.GetTrackNumber(), 200u);
    EXPECT_EQ(tags.GetTagKinds(), SongFields::kTagID3v11);
    uint64_t start = 1;
    uint64_t end = 0;
    ASSERT_EQ(tags.GetAudioRange(start, end), 1);
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, file.size() - 129);
}

TEST(ID3v1, YearGenreAndVersionCases) {
    const struct {
        const char* year;
        int track; // -1: an ID3v1.0 comment of 30 bytes
        uint8_t genre;
        uint32_t expectedYear;
        const char* expectedGenre;
        uint32_t kinds;
    } cases[] = {
        {"    ", -1, 255, 0, "", SongFields::kTagID3v10},
        {"2001", 0, 125, 2001, "Dance Hall", SongFields::kTagID3v10}, // a zero track byte is no track
        {"99  ", 3, 126, 0, "", SongFields::kTagID3v11},              // year ends in a space: not read
    };
    TempDir dir;
    for (const auto& c : cases) {
        ID3 tags;
        const std::string comment = c.track < 0 ? std::string(30, 'c') : "c";
        ASSERT_EQ(ReadBytesAs(dir.File("y.mp3"),
                              Concat({Bytes(10, 0), ID3v1("T", "A", "B", c.year, comment, c.track, c.genre)}),
                              tags),
                  0);
        EXPECT_EQ(tags.GetYear(), c.expectedYear) << c.year;
        EXPECT_EQ(TextOf(&ID3::GetGenre, tags), AString(c.expectedGenre));
        EXPECT_EQ(tags.GetTagKinds(), c.kinds);
    }
}

// Latin-1 bytes mean what Windows-1252 gives them; text behind a leading space is kept.
TEST(ID3v1, LatinTextAndALeadingSpace) {
    TempDir dir;
    ID3 tags;
    ASSERT_EQ(ReadBytesAs(dir.File("l.mp3"), ID3v1(" Caf\xe9 \x80", "", "", "", "", 1, 0), tags), 0);
    EXPECT_EQ(TextOf(&ID3::GetTitle, tags), AString(u"Caf\u00e9 \u20ac"));
}

TEST(ID3v1, BothTagsTheID3v2TagWins) {
    TempDir dir;
    ID3 tags;
    const Bytes file = Concat({Tag(3, TextFrame(3, "TIT2", "V2 Title")), Bytes(300, 0),
                               ID3v1("V1 Title", "V1 Artist", "", "1999", "V1 comment", 4, 17)});
    ASSERT_EQ(ReadBytesAs(dir.File("both.mp3"), file, tags), 0);
    EXPECT_EQ(TextOf(&ID3::GetTitle, tags), AString("V2 Title"));
    EXPECT_EQ(TextOf(&ID3::GetArtist, tags), AString());
    EXPECT_EQ(TextOf(&ID3::GetComment, tags), AString());
    EXPECT_EQ(TextOf(&ID3::GetGenre, tags), AString());
    EXPECT_EQ(tags.GetTrackNumber(), 0u);
    EXPECT_EQ(tags.GetTagKinds(), SongFields::kTagID3v11 | SongFields::kTagID3v23);
    uint64_t start = 0;
    uint64_t end = 0;
    ASSERT_EQ(tags.GetAudioRange(start, end), 1);
    EXPECT_EQ(end, file.size() - 129);
}

} // namespace

TEST(ID3v1, ABlockCountsOnlyAfterTheID3v2Tag) {
    TempDir dir;
    // A file that is nothing but the block holds no audio: no audio range, and no end before its start.
    ID3 only;
    ASSERT_EQ(ReadBytesAs(dir.File("only.mp3"), ID3v1("T", "A", "B", "2001", "", 1, 1), only), 0);
    EXPECT_EQ(TextOf(&ID3::GetTitle, only), AString("T"));
    uint64_t start = 0;
    uint64_t end = 0;
    EXPECT_EQ(only.GetAudioRange(start, end), 0);

    // "TAG" 128 bytes before the end, but inside a frame of the ID3v2 tag, with 20 bytes of audio after it.
    const Bytes frame = TextFrame(3, "TIT2", "A title whose text holds TAG somewhere " + std::string(150, 'x'));
    const Bytes body = Concat({frame, TextFrame(3, "COMM", std::string(40, 'c'))});
    Bytes file = Concat({Tag(3, body), Bytes(20, 0)});
    const size_t tagEnd = file.size() - 20;
    std::copy_n("TAG", 3, file.begin() + static_cast<std::ptrdiff_t>(file.size() - 128));
    ID3 tagged;
    ASSERT_EQ(ReadBytesAs(dir.File("tagged.mp3"), file, tagged), 0);
    EXPECT_EQ(tagged.GetTagKinds(), SongFields::kTagID3v23);
    ASSERT_EQ(tagged.GetAudioRange(start, end), 1);
    EXPECT_EQ(start, tagEnd);
    EXPECT_EQ(end, file.size() - 1);
}
