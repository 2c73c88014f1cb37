#include "library/tags/ID3v2Reader.h"

#include "TagTestBytes.h"
#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "library/tags/ID3.h"
#include "library/tags/SongFields.h"
#include "library/tags/SongFileReader.h"
#include "library/tags/Unsynchronisation.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace tagtest;

namespace {

const Bytes kAudio(200, 0);

// Reads an mp3 made of the tag and some silence.
ID3 ReadTag(const Bytes& tag, int expected = 0) {
    TempDir dir;
    ID3 tags;
    EXPECT_EQ(ReadBytesAs(dir.File("t.mp3"), Concat({tag, kAudio}), tags), expected);
    return tags;
}

AString Title(const Bytes& tag) {
    return TextOf(&ID3::GetTitle, ReadTag(tag));
}

class FramesOfEachVersion : public testing::TestWithParam<int> {};

TEST_P(FramesOfEachVersion, TheFramesUsed) {
    const int v = GetParam();
    const bool v22 = v == 2;
    const Bytes body = Concat({
        TextFrame(v, v22 ? "TT2" : "TIT2", "Title"), TextFrame(v, v22 ? "TAL" : "TALB", "Album"),
        TextFrame(v, v22 ? "TCM" : "TCOM", "Composer"), TextFrame(v, v22 ? "TCO" : "TCON", "(17)"),
        TextFrame(v, v22 ? "TRK" : "TRCK", "7/12"), TextFrame(v, v22 ? "TPA" : "TPOS", "1/2"),
        TextFrame(v, v22 ? "TYE" : "TYER", "2004"), TextFrame(v, v22 ? "TCP" : "TCMP", "1"),
        Frame(v, v22 ? "PCS" : "PCST", {0, 0, 0, 0}), TextFrame(v, v22 ? "TXX" : "TXXX", "unused"),
        Bytes(50, 0), // padding
    });
    const ID3 tags = ReadTag(Tag(v, body));
    EXPECT_EQ(TextOf(&ID3::GetTitle, tags), AString("Title"));
    EXPECT_EQ(TextOf(&ID3::GetAlbum, tags), AString("Album"));
    EXPECT_EQ(TextOf(&ID3::GetComposer, tags), AString("Composer"));
    EXPECT_EQ(TextOf(&ID3::GetGenre, tags), AString("Rock"));
    EXPECT_EQ(tags.GetTrackNumber(), 7u);
    EXPECT_EQ(tags.GetDiscNumber(), 1u);
    EXPECT_EQ(tags.GetDiscCount(), 2u);
    EXPECT_EQ(tags.GetYear(), 2004u);
    EXPECT_TRUE(tags.IsCompilation());
    EXPECT_TRUE(tags.IsPodcast());
    EXPECT_EQ(tags.GetTagKinds(), 1u << v);
    uint64_t start = 0;
    uint64_t end = 0;
    ASSERT_EQ(tags.GetAudioRange(start, end), 1);
    EXPECT_EQ(start, body.size() + 10);
}

INSTANTIATE_TEST_SUITE_P(ID3v2, FramesOfEachVersion, testing::Values(2, 3, 4));

TEST(ID3v2, ArtistAndAlbumArtist) {
    const struct {
        int version;
        bool artistFirst;
        bool albumArtist;
        const char* artist;
    } cases[] = {
        {3, true, true, "A"},  {4, true, true, "B"}, {3, false, true, "B"},
        {4, false, true, "B"}, {2, true, true, "A"}, {4, true, false, "A"},
    };
    for (const auto& c : cases) {
        const bool v22 = c.version == 2;
        const Bytes body =
            Concat({c.artistFirst ? TextFrame(c.version, v22 ? "TP1" : "TPE1", "A") : Bytes(),
                    c.albumArtist ? TextFrame(c.version, v22 ? "TP2" : "TPE2", "B") : Bytes()});
        EXPECT_EQ(TextOf(&ID3::GetArtist, ReadTag(Tag(c.version, body))), AString(c.artist)) << c.version;
    }
}

TEST(ID3v2, NumbersAndDates) {
    const struct {
        int version;
        const char* id;
        const char* text;
        uint32_t (ID3::*get)() const;
        uint32_t expected;
    } cases[] = {
        {3, "TYER", "99", &ID3::GetYear, 0},
        {4, "TDRC", "2004-05-01", &ID3::GetYear, 2004},
        {3, "TDRC", "2004-05-01", &ID3::GetYear, 0}, // not a frame of ID3v2.3
        {3, "TPOS", "2", &ID3::GetDiscNumber, 2},
        {3, "TPOS", "2", &ID3::GetDiscCount, 0},
        {3, "TRCK", "70000", &ID3::GetTrackNumber, 70000 & 0xFFFF},
        {3, "TRCK", "", &ID3::GetTrackNumber, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ((ReadTag(Tag(c.version, TextFrame(c.version, c.id, c.text))).*c.get)(), c.expected)
            << c.text;
    EXPECT_FALSE(ReadTag(Tag(3, TextFrame(3, "TCMP", ""))).IsCompilation());
}

TEST(ID3v2, TextEncodings) {
    const Bytes bomLE = {0xFF, 0xFE};
    const Bytes bomBE = {0xFE, 0xFF};
    const struct {
        int version;
        Bytes body;
        const char16_t* text;
    } cases[] = {
        {3, Concat({{1}, bomLE, Utf16LE(u"Gr\u00fc\u00df")}), u"Gr\u00fc\u00df"},
        {3, Concat({{1}, bomBE, {0x00, 'B', 0x04, 0x14}}), u"B\u0414"},
        {3, Concat({{1}, bomLE, Utf16LE(u"Odd"), {'x'}}), u"Odd"}, // the odd byte is dropped
        {4, Concat({{1}, bomLE, Utf16LE(u"One"), {0, 0}, Utf16LE(u"Two")}), u"One"}, // ends at the zero
        {3, Concat({{1}, Utf16LE(u"NoMark")}), u"NoMark"},
        {3, {1, 0xFF, 0xFE}, u""}, // 1 to 3 bytes: empty
        {4, Concat({{2}, {0x00, 'B', 0x00, 'E'}}), u"BE"},
        {4, Concat({{3}, Text("caf\xc3\xa9 \xff!")}), u"caf\u00e9 \ufffd!"},
        {3, Concat({{3}, Text("utf8")}), u""}, // not an encoding of ID3v2.3
        {2, Concat({{2}, Text("xx")}), u""},
        {3, Concat({{0}, Text("Latin \xe9\x80"), {0}, Text("more")}), u"Latin \u00e9\u20ac"},
        {3, Concat({{1}, bomLE, Utf16LE(u"\ufeffMark")}), u"Mark"},
        {3, {}, u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Title(Tag(c.version, Frame(c.version, "TIT2", c.body))), AString(c.text));
}

TEST(ID3v2, RefusedFramesGiveEmptyTexts) {
    const Bytes text = Concat({{0}, Text("secret")});
    EXPECT_EQ(Title(Tag(3, Frame(3, "TIT2", text, false, 0x80))), AString());
    EXPECT_EQ(Title(Tag(3, Frame(3, "TIT2", text, false, 0x40))), AString());
    EXPECT_EQ(Title(Tag(4, Frame(4, "TIT2", text, true, 0x08))), AString());
    EXPECT_EQ(Title(Tag(4, Frame(4, "TIT2", text, true, 0x01))), AString());
    EXPECT_EQ(Title(Tag(4, Frame(4, "TIT2", text, true, 0x40))), AString("secret")); // grouping: not refused
}

TEST(ID3v2, RefusedTags) {
    const Bytes body = TextFrame(4, "TIT2", "T");
    TempDir dir;
    ID3 tags;
    // Version 5: refused; the tag reset what an ID3v1 block gave.
    ASSERT_EQ(ReadBytesAs(dir.File("v5.mp3"),
                          Concat({Tag(5, body), kAudio, ID3v1("V1", "", "", "", "", 1, 1)}), tags),
              -15101);
    EXPECT_EQ(TextOf(&ID3::GetTitle, tags), AString());
    EXPECT_EQ(ReadBytesAs(dir.File("c.mp3"), Concat({Tag(2, TextFrame(2, "TT2", "T"), 0x40), kAudio}), tags),
              -15102);
    EXPECT_EQ(ReadBytesAs(dir.File("x.mp3"), Concat({Tag(4, body, 0x40), kAudio}), tags), -15103);
    EXPECT_EQ(ReadBytesAs(dir.File("f.mp3"), Concat({Tag(4, body, 0x10), Bytes(10, 0), kAudio}), tags),
              -15104);
    EXPECT_EQ(TextOf(&ID3::GetTitle, tags), AString());
}

TEST(ID3v2, TheWalkStaysInsideTheTag) {
    // The last frame ends exactly at the end of the body.
    EXPECT_EQ(Title(Tag(3, Concat({TextFrame(3, "TALB", "A"), TextFrame(3, "TIT2", "Last")}))),
              AString("Last"));
    // A frame running past the tag ends the walk; the frames before it stay.
    Bytes overlong = TextFrame(3, "TIT2", "Lost");
    overlong[7] = 200;
    const ID3 tags = ReadTag(Tag(3, Concat({TextFrame(3, "TALB", "Kept"), overlong})));
    EXPECT_EQ(TextOf(&ID3::GetAlbum, tags), AString("Kept"));
    EXPECT_EQ(TextOf(&ID3::GetTitle, tags), AString());
    // Sizes near 2^32 do not wrap around.
    Bytes huge = TextFrame(3, "TIT2", "Huge");
    huge[4] = huge[5] = huge[6] = huge[7] = 0xFF;
    EXPECT_EQ(Title(Tag(3, Concat({huge, TextFrame(3, "TIT2", "After")}))), AString());
}

TEST(ID3v2, ExtendedHeaderOfID3v23) {
    const Bytes extended = {0, 0, 0, 6, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Title(Tag(3, Concat({extended, TextFrame(3, "TIT2", "After")}), 0x40)), AString("After"));
    // Too short to hold its own size: no frames, and no read outside the body.
    EXPECT_EQ(Title(Tag(3, {0, 0, 1}, 0x40)), AString());
    EXPECT_EQ(Title(Tag(3, {0xFF, 0xFF, 0xFF, 0xFF, 'T'}, 0x40)), AString());
}

TEST(ID3v2, SizesOfID3v24FramesReadTolerantly) {
    const std::string longTitle(300, 'x');
    const Bytes longFrame = TextFrame(4, "TIT2", longTitle);
    // Synchsafe, as every real file has it.
    const ID3 synchsafe = ReadTag(Tag(4, Concat({longFrame, TextFrame(4, "TALB", "Album"), Bytes(20, 0)})));
    EXPECT_EQ(TextOf(&ID3::GetTitle, synchsafe), AString(longTitle));
    EXPECT_EQ(TextOf(&ID3::GetAlbum, synchsafe), AString("Album"));
    // Plain sizes, as tags written the old way have them.
    for (const size_t length : {200, 300, 0x1000}) {
        const std::string title(length, 'p');
        const Bytes plain = Frame(4, "TIT2", Concat({{0}, Text(title)}), false);
        const ID3 tags = ReadTag(Tag(4, Concat({plain, TextFrame(4, "TALB", "Album"), Bytes(20, 0)})));
        EXPECT_EQ(TextOf(&ID3::GetTitle, tags), AString(title)) << length;
        EXPECT_EQ(TextOf(&ID3::GetAlbum, tags), AString("Album")) << length;
    }
}

// Pictures that the writer once appended with plain sizes to a tag whose other frames are synchsafe.
TEST(ID3v2, SynchsafeAndPlainID3v24FramesInOneTag) {
    const std::string longTitle(300, 'x');
    const Bytes jpeg = Concat({{0xFF, 0xD8, 0xFF, 0xE0}, Bytes(300, 0x11)});
    const Bytes plainPicture = Frame(4, "APIC", Concat({{0}, Text("image/jpg"), {0, 0, 0}, jpeg}), false);
    const Bytes tag = Tag(4, Concat({TextFrame(4, "TIT2", longTitle), plainPicture, plainPicture}));
    const ID3 tags = ReadTag(tag);
    EXPECT_EQ(TextOf(&ID3::GetTitle, tags), AString(longTitle));
    ASSERT_EQ(tags.GetPictureCount(), 2);
    for (int i = 0; i < 2; ++i) {
        const ID3Picture& picture = tags.GetPicture(i);
        EXPECT_EQ(picture.length, jpeg.size());
        EXPECT_EQ(Bytes(tag.begin() + picture.start, tag.begin() + picture.end + 1), jpeg);
    }
}

TEST(ID3v2, PicturesOfEachVersion) {
    const Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 1, 2, 3};
    const Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 9};
    const Bytes pic = Frame(2, "PIC", Concat({{1}, Text("JPG"), {3}, Utf16LE(u"\ufeffd"), {0, 0}, png}));
    const Bytes apic = Frame(3, "APIC", Concat({{0}, Text("image/png"), {0, 3}, Text("desc"), {0}, jpeg}));
    const Bytes apic24 =
        Frame(4, "APIC", Concat({{3}, Text("image/gif"), {0, 3}, Text("d"), {0}, Text("GIF8")}));
    const struct {
        int version;
        Bytes frame;
        uint64_t offset; // of the image in the frame
        Bytes image;
        uint32_t kind;
    } cases[] = {
        {2, pic, 6 + 1 + 3 + 1 + 6, png, ID3Picture::kPng},
        {3, apic, 10 + 1 + 10 + 1 + 5, jpeg, ID3Picture::kJpeg}, // the data, not the MIME text, decides
        {4, apic24, 10 + 1 + 10 + 1 + 2, Text("GIF8"), ID3Picture::kOther},
    };
    for (const auto& c : cases) {
        const Bytes lead = TextFrame(c.version, c.version == 2 ? "TT2" : "TIT2", "T");
        const ID3 tags = ReadTag(Tag(c.version, Concat({lead, c.frame})));
        ASSERT_EQ(tags.GetPictureCount(), 1) << c.version;
        const ID3Picture& picture = tags.GetPicture(0);
        EXPECT_EQ(picture.start, 10 + lead.size() + c.offset);
        EXPECT_EQ(picture.length, c.image.size());
        EXPECT_EQ(picture.end, picture.start + picture.length - 1);
        EXPECT_EQ(picture.kind, c.kind);
    }
}

// A memory stream that counts the bytes read from it.
class CountingStream : public AMemFile {
public:
    using AMemFile::AMemFile;
    int Read(void* buffer, uint32_t length, uint32_t* bytesRead) override {
        bytesReadInAll += length;
        return AMemFile::Read(buffer, length, bytesRead);
    }
    using AFile::Read;
    uint64_t bytesReadInAll = 0;
};

// The image of a picture is not read, only the fields before it and its signature; a description that
// runs past what is read first is read whole. The frames after the pictures are read as ever.
TEST(ID3v2, LargePicturesAreNotRead) {
    const Bytes image = Concat({{0xFF, 0xD8}, Bytes(300000, 0x5A)});
    const std::string longDescription(2000, 'd');
    for (const int version : {2, 3, 4}) {
        const bool v22 = version == 2;
        const Bytes mime = v22 ? Text("JPG") : Concat({Text("image/jpeg"), {0}});
        const auto picture = [&](const std::string& description) {
            return Frame(version, v22 ? "PIC" : "APIC",
                         Concat({{0}, mime, {3}, Text(description), {0}, image}));
        };
        const Bytes lead = TextFrame(version, v22 ? "TT2" : "TIT2", "Title");
        const Bytes first = picture("cover");
        const Bytes second = picture(longDescription);
        const Bytes tag = Tag(
            version,
            Concat({lead, first, second, TextFrame(version, v22 ? "TAL" : "TALB", "Album"), Bytes(100, 0)}));
        const Bytes file = Concat({tag, Bytes(200, 0)});
        CountingStream stream(file.data(), static_cast<uint32_t>(file.size()));
        SongFields fields;
        ASSERT_EQ(SongFileReader::Read(fields, stream, AString("song.mp3")), 0) << version;
        EXPECT_EQ(fields.album, AString("Album")) << version;
        ASSERT_EQ(fields.pictures.size(), 2u) << version;
        const uint64_t headers = 10 + lead.size();
        const uint64_t fieldsBefore[] = {first.size() - image.size(), second.size() - image.size()};
        EXPECT_EQ(fields.pictures[0].start, headers + fieldsBefore[0]);
        EXPECT_EQ(fields.pictures[1].start, headers + first.size() + fieldsBefore[1]);
        for (const ID3Picture& found : fields.pictures) {
            EXPECT_EQ(found.length, image.size());
            EXPECT_EQ(found.kind, ID3Picture::kJpeg);
        }
        EXPECT_LT(stream.bytesReadInAll, 64u * 1024) << version;
    }
}

// A read of the body that fails, wherever the walk meets it, is the result.
TEST(ID3v2, AFailingReadInTheBodyIsTheResult) {
    class FailingStream : public AMemFile {
    public:
        FailingStream(const Bytes& bytes, uint64_t failFrom)
            : AMemFile(bytes.data(), static_cast<uint32_t>(bytes.size())), m_failFrom(failFrom) {}
        int Read(void* buffer, uint32_t length, uint32_t* bytesRead) override {
            if (GetPosition() + length > m_failFrom)
                return kErrorRead;
            return AMemFile::Read(buffer, length, bytesRead);
        }
        using AFile::Read;

    private:
        uint64_t m_failFrom;
    };
    const Bytes picture = Frame(3, "APIC", Concat({{0}, Text("image/png"), {0, 3, 0}, Bytes(100000, 0x89)}));
    const Bytes file = Concat(
        {Tag(3, Concat({TextFrame(3, "TIT2", "T"), picture, TextFrame(3, "TALB", "A")})), Bytes(200, 0)});
    FailingStream stream(file, file.size() - 300);
    SongFields fields;
    EXPECT_EQ(ID3v2Reader::ReadID3v2(fields, stream, file.size()), kErrorRead);
    EXPECT_EQ(fields.title, AString("T"));
}

TEST(ID3v2, BrokenPictureFramesGiveNoPicture) {
    const Bytes image = {0xFF, 0xD8, 1};
    const Bytes broken[] = {
        Frame(3, "APIC", Concat({{0}, Text("image/jpg")})),                       // no MIME terminator
        Frame(3, "APIC", Concat({{0}, Text("image/jpg"), {0, 3}, Text("desc")})), // no description terminator
        Frame(3, "APIC", Concat({{0}, Text("image/jpg"), {0, 3, 0}})),            // no data
        Frame(3, "APIC", Concat({{5}, Text("image/jpg"), {0, 3, 0}, image})),     // unknown encoding
        Frame(3, "APIC", Concat({{0}, Text("image/jpg"), {0, 3, 0}, image}), false, 0x80), // compressed
        Frame(3, "APIC", {}),
    };
    for (const Bytes& frame : broken)
        EXPECT_EQ(ReadTag(Tag(3, frame)).GetPictureCount(), 0);
    EXPECT_EQ(ReadTag(Tag(2, Frame(2, "PIC", {0, 'J', 'P', 'G', 0}))).GetPictureCount(), 0);
}

TEST(ID3v2, UnsynchronisedFramesOfID3v24) {
    // "T\xFF\x00\xE9" decodes to "T\xFF\xE9".
    const Bytes text = {0, 'T', 0xFF, 0x00, 0xE9};
    EXPECT_EQ(Title(Tag(4, Frame(4, "TIT2", text, true, 0x02))), AString(u"T\u00ff\u00e9"));
    EXPECT_EQ(Title(Tag(4, Frame(4, "TIT2", text), 0x80)), AString(u"T\u00ff\u00e9"));
    EXPECT_EQ(Title(Tag(4, Frame(4, "TIT2", text))), AString(u"T\u00ff"));
}

TEST(ID3v2, PicturesOfAnUnsynchronisedID3v23Tag) {
    const Bytes images[] = {{0xFF, 0xD8, 0xFF, 0xE0, 0xFF, 0x00, 1},
                            {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0xFF},
                            {0xFF, 0xD8, 0xFF, 0xFF, 0xF0}};
    Bytes frames;
    for (const Bytes& image : images)
        frames = Concat({frames, Frame(3, "APIC", Concat({{0}, Text("image/x"), {0, 3, 0}, image}))});
    const Bytes body = unsynchronisation::Encode(frames.data(), frames.size());
    ASSERT_GT(body.size(), frames.size());
    const Bytes tag = Tag(3, body, 0x80);
    const ID3 tags = ReadTag(tag);
    ASSERT_EQ(tags.GetPictureCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const ID3Picture& picture = tags.GetPicture(i);
        EXPECT_EQ(picture.length, images[i].size());
        const Bytes span(tag.begin() + picture.start, tag.begin() + picture.end + 1);
        EXPECT_EQ(unsynchronisation::Decode(span.data(), span.size()), images[i]) << i;
    }
}

TEST(ID3v2, TagLongerThanTheFile) {
    TempDir dir;
    ID3 tags;
    Bytes tag = Tag(3, TextFrame(3, "TIT2", "T"));
    tag[6] = 0x7F; // about 256 MiB announced
    EXPECT_EQ(ReadBytesAs(dir.File("long.mp3"), Concat({tag, kAudio}), tags), kErrorShortRead);
}

} // namespace
