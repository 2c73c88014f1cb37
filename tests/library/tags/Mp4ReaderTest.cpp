#include "TagTestBytes.h"
#include "library/tags/ID3.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace tagtest;

namespace {

constexpr uint32_t kBinary = 0;
constexpr uint32_t kUtf8 = 1;
constexpr uint32_t kUtf16 = 2;
constexpr uint32_t kInteger = 21;

ID3 ReadMp4(const Bytes& file, int expected = 0) {
    TempDir dir;
    ID3 tags;
    EXPECT_EQ(ReadBytesAs(dir.File("song.m4a"), file, tags), expected);
    return tags;
}

Bytes Utf8Item(const std::string& type, const std::string& text) {
    return DataItem(type, kUtf8, Text(text));
}

TEST(Mp4, ItemsAndWhereTheyGo) {
    const Bytes items = Concat({
        Utf8Item("\xA9nam", "Hello \xC3\xA9"),
        Utf8Item("\xA9"
                 "alb",
                 "Album"),
        Utf8Item("\xA9"
                 "ART",
                 "Artist"),
        Utf8Item("aART", "Album Artist"),
        Utf8Item("tvsh", "Show"),
        DataItem("gnre", kBinary, {0, 18}),
        Utf8Item("\xA9wrt", "Composer"),
        DataItem("trkn", kBinary, {0, 0, 0, 5, 0, 12, 0, 0}),
        DataItem("disk", kBinary, {0, 0, 0, 1, 0, 2}),
        Utf8Item("\xA9"
                 "day",
                 "2004-05-01T00:00:00Z"),
        DataItem("cpil", kInteger, {1}),
        DataItem("stik", kInteger, {9}),
        DataItem("pcst", kInteger, {1}),
        Utf8Item("apID", "me@example.com"),
        Utf8Item("desc", "not used"),
    });
    const ID3 tags = ReadMp4(Mp4File(items));
    EXPECT_EQ(TextOf(&ID3::GetTitle, tags), AString(u"Hello \u00e9"));
    EXPECT_EQ(TextOf(&ID3::GetAlbum, tags), AString("Album"));
    EXPECT_EQ(TextOf(&ID3::GetArtist, tags), AString("Artist"));
    EXPECT_EQ(TextOf(&ID3::GetTVShow, tags), AString("Show"));
    EXPECT_EQ(TextOf(&ID3::GetGenre, tags), AString("Rock"));
    EXPECT_EQ(TextOf(&ID3::GetComposer, tags), AString("Composer"));
    EXPECT_EQ(TextOf(&ID3::GetAccountName, tags), AString("me@example.com"));
    EXPECT_EQ(tags.GetTrackNumber(), 5u);
    EXPECT_EQ(tags.GetDiscNumber(), 1u);
    EXPECT_EQ(tags.GetDiscCount(), 2u);
    EXPECT_EQ(tags.GetYear(), 2004u);
    EXPECT_TRUE(tags.IsCompilation());
    EXPECT_TRUE(tags.IsMovie());
    EXPECT_TRUE(tags.IsPodcast());
    EXPECT_EQ(tags.GetTagKinds(), SongFields::kTagMP4WalkComplete);
}

TEST(Mp4, ArtistAndGenreRules) {
    EXPECT_EQ(TextOf(&ID3::GetArtist, ReadMp4(Mp4File(Utf8Item("aART", "X")))), AString("X"));
    EXPECT_EQ(
        TextOf(&ID3::GetGenre,
               ReadMp4(Mp4File(Concat({DataItem("gnre", kBinary, {0, 18}), Utf8Item("\xA9gen", "Jazz")})))),
        AString("Jazz"));
    EXPECT_EQ(
        TextOf(&ID3::GetGenre,
               ReadMp4(Mp4File(Concat({Utf8Item("\xA9gen", "Jazz"), DataItem("gnre", kBinary, {0, 18})})))),
        AString("Jazz"));
    EXPECT_EQ(TextOf(&ID3::GetGenre, ReadMp4(Mp4File(DataItem("gnre", kBinary, {0, 0})))), AString());
    EXPECT_TRUE(ReadMp4(Mp4File(DataItem("stik", kInteger, {10}))).IsTVShow());
    // A value type the reader does not know leaves the field as it was.
    EXPECT_EQ(TextOf(&ID3::GetTitle, ReadMp4(Mp4File(DataItem("\xA9nam", 13, Text("jpeg"))))), AString());
}

TEST(Mp4, TextValues) {
    const struct {
        uint32_t type;
        Bytes value;
        const char16_t* title;
    } cases[] = {
        {kUtf16, {0xFE, 0xFF, 0x00, 'H', 0x00, 'i'}, u"Hi"},
        {kUtf16, {0x00, 'H', 0x00, 'i'}, u"Hi"},            // no mark: nothing skipped
        {kUtf16, {0x00, 'H', 0x00, 'i', 0x00}, u"Hi"},      // odd byte dropped
        {kUtf8, Text("bad \xff utf8"), u"bad \ufffd utf8"}, // decoded, not refused
        {kUtf8, Concat({Text("one"), {0}, Text("two")}), u"one"},
        {kInteger, {0, 0, 1, 0}, u"256"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextOf(&ID3::GetTitle, ReadMp4(Mp4File(DataItem("\xA9nam", c.type, c.value)))),
                  AString(c.title));
}

TEST(Mp4, CoverArtAndMediaData) {
    const Bytes jpeg = Concat({{0xFF, 0xD8, 0xFF, 0xE0}, Bytes(20, 1)});
    const Bytes png = Concat({{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, Bytes(4, 2)});
    const Bytes covr = Atom("covr", Concat({Atom("data", Concat({BE32(13), BE32(0), jpeg})),
                                            Atom("data", Concat({BE32(14), BE32(0), png}))}));
    const Bytes mdat = Atom("mdat", Bytes(100, 7));
    const Bytes file = Mp4File(covr, mdat);
    const ID3 tags = ReadMp4(file);
    ASSERT_EQ(tags.GetPictureCount(), 2);
    const uint64_t covrAt = file.size() - mdat.size() - covr.size();
    EXPECT_EQ(tags.GetPicture(0).start, covrAt + 8 + 16);
    EXPECT_EQ(tags.GetPicture(0).length, jpeg.size());
    EXPECT_EQ(tags.GetPicture(0).kind, ID3Picture::kJpeg);
    EXPECT_EQ(tags.GetPicture(1).start, covrAt + 8 + 16 + jpeg.size() + 16);
    EXPECT_EQ(tags.GetPicture(1).end, tags.GetPicture(1).start + png.size() - 1);
    EXPECT_EQ(tags.GetPicture(1).kind, ID3Picture::kPng);
    uint64_t start = 0;
    uint64_t end = 0;
    ASSERT_EQ(tags.GetAudioRange(start, end), 1);
    EXPECT_EQ(start, file.size() - 100);
    EXPECT_EQ(end, file.size() - 1);

    // With 64-bit sizes: the media data starts after the 16-byte header.
    const Bytes wide = Mp4File(covr, LargeAtom("mdat", Bytes(100, 7)));
    const ID3 wideTags = ReadMp4(wide);
    ASSERT_EQ(wideTags.GetAudioRange(start, end), 1);
    EXPECT_EQ(start, wide.size() - 100);
    // A "covr" too short for one picture gives none.
    EXPECT_EQ(ReadMp4(Mp4File(Atom("covr", Atom("data", Concat({BE32(13), BE32(0), {0xFF, 0xD8}})))))
                  .GetPictureCount(),
              0);
}

TEST(Mp4, ContainersWithLargeSizes) {
    const Bytes items = Utf8Item("\xA9nam", "Large");
    const Bytes meta = Atom("meta", Concat({BE32(0), LargeAtom("ilst", items)}));
    const Bytes file = Concat({Atom("ftyp", Text("M4A ")), LargeAtom("mdat", Bytes(50, 0)),
                               LargeAtom("moov", LargeAtom("udta", meta))});
    EXPECT_EQ(TextOf(&ID3::GetTitle, ReadMp4(file)), AString("Large"));
}

TEST(Mp4, BrokenLayoutsEndTheWalkQuietly) {
    const Bytes title = Utf8Item("\xA9nam", "Title");
    Bytes tinySize = Utf8Item("\xA9"
                              "alb",
                              "Lost");
    tinySize[3] = 5; // sizes 2 to 7 cannot hold a header
    Bytes overlong = Utf8Item("\xA9"
                              "alb",
                              "Lost");
    overlong[2] = 0x10;
    const struct {
        const char* name;
        Bytes file;
        const char16_t* title;
        uint32_t kinds;
    } cases[] = {
        {"trailing bytes", Concat({Mp4File(title), {1, 2, 3}}), u"Title", 0},
        {"size 2 to 7", Mp4File(Concat({title, tinySize})), u"Title", 0},
        {"item past the end", Mp4File(Concat({title, overlong})), u"Title", 0},
        {"size 0", Mp4File(Concat({title, BE32(0), Text("free")})), u"Title", 0},
        {"first atom not ftyp", Concat({Atom("free", {}), Mp4File(title)}), u"", 0},
        {"no moov", Atom("ftyp", Text("M4A ")), u"", 0},
        {"ftyp as large as the file", Concat({BE32(100), Text("ftyp"), Bytes(92, 0)}), u"", 0},
    };
    for (const auto& c : cases) {
        const ID3 tags = ReadMp4(c.file);
        EXPECT_EQ(TextOf(&ID3::GetTitle, tags), AString(c.title)) << c.name;
        EXPECT_EQ(tags.GetTagKinds(), c.kinds) << c.name;
    }
}

// A 64-bit size that would carry the walk past 2^64 back to the start of the file ends it instead.
TEST(Mp4, SizesThatWouldWrapAround) {
    const Bytes ftyp = Atom("ftyp", Concat({Text("M4A "), BE32(0)}));
    const Bytes wrapsToStart = Concat({BE32(1), Text("free"), BE64(0 - uint64_t(ftyp.size()))});
    EXPECT_EQ(
        TextOf(&ID3::GetTitle, ReadMp4(Concat({ftyp, wrapsToStart, Mp4File(Utf8Item("\xA9nam", "T"))}))),
        AString());
}

TEST(Mp4, MediaDataBeforeTheMetadataIsNotMet) {
    const Bytes file =
        Concat({Atom("ftyp", Text("M4A ")), Atom("mdat", Bytes(40, 0)),
                Atom("moov", Atom("udta", Atom("meta", Concat({BE32(0), Atom("ilst", {})}))))});
    uint64_t start = 0;
    uint64_t end = 0;
    EXPECT_EQ(ReadMp4(file).GetAudioRange(start, end), 0);
}

} // namespace
