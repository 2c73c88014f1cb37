// The reader over files that real tools made (tests/fixtures/tags/README.md says how).
#include "TagTestBytes.h"
#include "library/tags/ID3.h"
#include "library/tags/Unsynchronisation.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace tagtest;

namespace {

struct Expected {
    const char* file;
    const char16_t* title;
    const char16_t* artist;
    const char16_t* album;
    const char16_t* genre;
    const char16_t* composer;
    uint32_t track;
    uint32_t disc;
    uint32_t discCount;
    uint32_t year;
    bool compilation;
    uint32_t bitRate;
    uint32_t duration;
    uint32_t tagKinds;
    const char* pictures; // image fixtures in tag order, ',' separated
};

const Expected kFixtures[] = {
    {"id3v1_only.mp3", u"Five", u"Some Artist", u"An Album", u"Rock", u"", 200, 0, 0, 1999, false, 32, 1,
     SongFields::kTagID3v11, ""},
    {"v24_mutagen.mp3",
     u"A title long enough that its frame needs more than one hundred and twenty-seven bytes, so that the "
     u"synchsafe size of the frame takes two bytes",
     u"Album Artist", u"D\u00e9but", u"Jazz", u"\u65e5\u672c\u306e\u4f5c\u66f2\u5bb6", 3, 1, 2, 2004, true,
     32, 1, SongFields::kTagID3v24, "tiny.jpg"},
    {"v23_eyed3_extended.mp3", u"\u00d6lmalerei \u2013 \u00dcbung", u"\u0396\u03c9\u03ae Artist",
     u"Plain Album", u"Rock", u"Composer", 7, 2, 3, 1999, false, 32, 1, SongFields::kTagID3v23, ""},
    {"v23_unsync.mp3", u"\u00dcnsynchronised \u00ff title", u"\u00c4rtist", u"Album \u00ff\u00ff", u"Pop",
     u"", 5, 0, 0, 0, false, 32, 1, SongFields::kTagID3v23, "tiny.jpg"},
    {"vbr_mpeg1.mp3", u"", u"", u"", u"", u"", 0, 0, 0, 0, false, 35, 1, 0, ""},
    {"vbr_mpeg2.mp3", u"", u"", u"", u"", u"", 0, 0, 0, 0, false, 9, 2, 0, ""},
    {"odd_chunk.aif", u"Aiff Title", u"Aiff Artist", u"Aiff Album", u"", u"", 4, 0, 0, 0, false, 0, 0,
     SongFields::kTagID3v24, ""},
    {"mp4_atomicparsley.m4a", u"MP4 Title", u"MP4 Artist", u"MP4 Album", u"Rock", u"MP4 Composer", 5, 1, 2,
     2004, true, 0, 0, SongFields::kTagMP4WalkComplete, "tiny.jpg,tiny.png"},
    {"mp4_64bit.m4a", u"Wide Title", u"Wide Artist", u"Wide Album", u"Jazz", u"", 2, 0, 0, 0, false, 0, 0,
     SongFields::kTagMP4WalkComplete, "tiny.png"},
    {"mp4_64bit_mdat_first.m4a", u"Wide Title", u"", u"", u"", u"", 0, 0, 0, 0, false, 0, 0,
     SongFields::kTagMP4WalkComplete, "tiny.png"},
    // 41 frames of 1024 samples at 16000 Hz: 2.6 s, 8192 bytes of frames.
    {"adts_ffmpeg.aac", u"AAC Title", u"AAC Artist", u"AAC Album", u"Jazz", u"", 4, 0, 0, 0, false, 24, 2,
     SongFields::kTagID3v24, ""},
};

void PrintTo(const Expected& expected, std::ostream* out) {
    *out << expected.file;
}

std::vector<std::string> Split(const std::string& list) {
    std::vector<std::string> items;
    size_t start = 0;
    while (start < list.size()) {
        const size_t comma = list.find(',', start);
        items.push_back(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        start = comma == std::string::npos ? list.size() : comma + 1;
    }
    return items;
}

// The image bytes a picture record points at, with a tag's unsynchronisation undone.
std::vector<uint8_t> PictureBytes(const std::vector<uint8_t>& file, const ID3Picture& picture) {
    const std::vector<uint8_t> span(file.begin() + picture.start, file.begin() + picture.end + 1);
    if (span.size() == picture.length)
        return span;
    return unsynchronisation::Decode(span.data(), span.size());
}

class TagFixtures : public testing::TestWithParam<Expected> {};

TEST_P(TagFixtures, ReaderGivesTheFieldsTheToolWrote) {
    const Expected& expected = GetParam();
    const std::string path = FixturePath(std::string("tags/") + expected.file);
    ID3 tags;
    ASSERT_EQ(tags.Read(AString(path)), 0);
    EXPECT_EQ(TextOf(&ID3::GetTitle, tags), AString(expected.title));
    EXPECT_EQ(TextOf(&ID3::GetArtist, tags), AString(expected.artist));
    EXPECT_EQ(TextOf(&ID3::GetAlbum, tags), AString(expected.album));
    EXPECT_EQ(TextOf(&ID3::GetGenre, tags), AString(expected.genre));
    EXPECT_EQ(TextOf(&ID3::GetComposer, tags), AString(expected.composer));
    EXPECT_EQ(tags.GetTrackNumber(), expected.track);
    EXPECT_EQ(tags.GetDiscNumber(), expected.disc);
    EXPECT_EQ(tags.GetDiscCount(), expected.discCount);
    EXPECT_EQ(tags.GetYear(), expected.year);
    EXPECT_EQ(tags.IsCompilation(), expected.compilation);
    EXPECT_EQ(tags.GetBitRate(), expected.bitRate);
    EXPECT_EQ(tags.GetDuration(), expected.duration);
    EXPECT_EQ(tags.GetTagKinds(), expected.tagKinds);
    const std::vector<uint8_t> file = ReadBytes(path);
    EXPECT_EQ(tags.GetFileSize(), file.size());
    const std::vector<std::string> pictures = Split(expected.pictures);
    ASSERT_EQ(tags.GetPictureCount(), static_cast<int>(pictures.size()));
    for (size_t i = 0; i < pictures.size(); ++i) {
        const ID3Picture& picture = tags.GetPicture(static_cast<int>(i));
        const std::vector<uint8_t> image = FixtureBytes(std::string("tags/") + pictures[i]);
        EXPECT_EQ(picture.length, image.size());
        EXPECT_EQ(picture.kind, pictures[i].ends_with(".png") ? ID3Picture::kPng : ID3Picture::kJpeg);
        EXPECT_EQ(PictureBytes(file, picture), image) << pictures[i];
    }
}

INSTANTIATE_TEST_SUITE_P(RealFiles, TagFixtures, testing::ValuesIn(kFixtures),
                         [](const testing::TestParamInfo<Expected>& info) {
                             std::string name = info.param.file;
                             for (char& c : name) {
                                 if (!isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

TEST(TagFixtures, Mp4ItemsBeyondTheCommonFields) {
    ID3 tags;
    ASSERT_EQ(tags.Read(AString(FixturePath("tags/mp4_atomicparsley.m4a"))), 0);
    EXPECT_TRUE(tags.IsTVShow());
    EXPECT_TRUE(tags.IsPodcast());
    EXPECT_EQ(TextOf(&ID3::GetTVShow, tags), AString("A Show"));
    EXPECT_EQ(TextOf(&ID3::GetAccountName, tags), AString("someone@example.com"));
    EXPECT_EQ(TextOf(&ID3::GetExtension, tags), AString("m4a"));
}

TEST(TagFixtures, AudioRangeOfEachFormat) {
    struct Case {
        const char* file;
        int known;
        uint64_t start;
        uint64_t end;
    };
    const Case cases[] = {
        {"v24_mutagen.mp3", 1, 1637, 7828}, // after the tag, to the file's end
        {"id3v1_only.mp3", 1, 0, 6191},     // before the ID3v1 block
        {"mp4_atomicparsley.m4a", 1, 1640, 2334}, {"mp4_64bit.m4a", 1, 1106, 1800}, // a 16-byte "mdat" header
        {"mp4_64bit_mdat_first.m4a", 0, 0, 0}, // "mdat" before "moov" is not met
        {"adts_ffmpeg.aac", 1, 138, 8329},      // after the tag, to the last frame's end
    };
    for (const Case& c : cases) {
        ID3 tags;
        ASSERT_EQ(tags.Read(AString(FixturePath(std::string("tags/") + c.file))), 0) << c.file;
        uint64_t start = 0;
        uint64_t end = 0;
        EXPECT_EQ(tags.GetAudioRange(start, end), c.known) << c.file;
        EXPECT_EQ(start, c.start) << c.file;
        EXPECT_EQ(end, c.end) << c.file;
    }
}

} // namespace
