#include "foundation/AString.h"

#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> Bytes(const AMemFile& stream) {
    return std::vector<uint8_t>(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

std::vector<uint8_t> RecordOf(const AString& text) {
    AMemFile stream;
    EXPECT_EQ(text.Serialize(stream), 0);
    return Bytes(stream);
}

int LoadFrom(const std::vector<uint8_t>& bytes, AString& text) {
    AMemFile stream(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return text.Load(stream);
}

} // namespace

TEST(AStringRecord, EmptyTextIsVersionCountAndByteOrderMark) {
    EXPECT_EQ(RecordOf(AString()), (std::vector<uint8_t>{0x02, 0x00, 0x10, 0x00, 0x02, 0x00, 0xFF, 0xFE}));
}

TEST(AStringRecord, RoundTripsNonLatinText) {
    const AString text(u"Motörhead – 東京 \U0001F3B5");
    const std::vector<uint8_t> record = RecordOf(text);
    EXPECT_EQ(record.size(), 8u + 2 * text.GetLength());
    AString loaded("old");
    EXPECT_EQ(LoadFrom(record, loaded), 0);
    EXPECT_EQ(loaded, text);
}

TEST(AStringRecord, TextTooLongForTheLoaderIsRefusedOnSave) {
    AMemFile stream;
    EXPECT_EQ(AString(std::u16string(1023, u'x')).Serialize(stream), 0);
    const uint32_t written = stream.GetSize();
    EXPECT_EQ(AString(std::u16string(1024, u'x')).Serialize(stream), kErrorStringTooLong);
    EXPECT_EQ(stream.GetSize(), written);
}

TEST(AStringRecord, MalformedRecordsGiveTheirCodes) {
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        int result;
        std::u16string text;
    } cases[] = {
        {"wrong version", {0x01, 0x00, 0x10, 0x00, 0x02, 0x00, 0xFF, 0xFE}, kErrorVersion, u"keep"},
        {"truncated version", {0x02, 0x00}, kErrorEndOfStream, u"keep"},
        {"no count", {0x02, 0x00, 0x10, 0x00, 0x02}, kErrorEndOfStream, u""},
        {"count above limit", {0x02, 0x00, 0x10, 0x00, 0x01, 0x08, 0xFF, 0xFE}, kErrorStringTooLong, u"keep"},
        {"count beyond data",
         {0x02, 0x00, 0x10, 0x00, 0x06, 0x00, 0xFF, 0xFE, 'a', 0},
         kErrorStringShort,
         u"keep"},
        {"count below two", {0x02, 0x00, 0x10, 0x00, 0x01, 0x00, 0xFF}, 0, u""},
        {"odd count", {0x02, 0x00, 0x10, 0x00, 0x05, 0x00, 0xFF, 0xFE, 'a', 0, 'b'}, 0, u"a"},
    };
    for (const auto& c : cases) {
        AString text(u"keep");
        EXPECT_EQ(LoadFrom(c.bytes, text), c.result) << c.what;
        EXPECT_EQ(text.GetCString(), c.text) << c.what;
    }
}

TEST(AStringForms, WriteAndReadBackEachForm) {
    // A Latin-1 byte beside UTF-8 text: the narrow forms keep the bytes of system text as they were.
    const AString text = AString::FromSystem8Bit("Caf\xE9 \xE2\x82\xAC");
    using Form = AString::Form;
    for (const Form form : {Form::Narrow, Form::NarrowZero, Form::NarrowLine, Form::NarrowCounted,
                            Form::WideZero, Form::WideLine, Form::WideRecord}) {
        AMemFile stream;
        ASSERT_EQ(text.Write(stream, form), 0) << int(form);
        const uint32_t size = stream.GetSize();
        ASSERT_EQ(stream.Seek(0), 0);
        AString back;
        const int max = (form == Form::Narrow) ? static_cast<int>(size) : 2048;
        EXPECT_EQ(back.Read(stream, form, max), 0) << int(form);
        EXPECT_EQ(back, text) << int(form);
    }
}

TEST(AStringForms, ExactBytesOfTheWideForms) {
    const AString text(u"ab");
    using Form = AString::Form;
    const struct {
        Form form;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {Form::Wide, {'a', 0, 'b', 0}},
        {Form::WideZero, {'a', 0, 'b', 0, 0, 0}},
        {Form::WideLine, {'a', 0, 'b', 0, '\r', 0, '\n', 0}},
        {Form::WideRecord, {6, 0, 0xFF, 0xFE, 'a', 0, 'b', 0}},
        {Form::WideAlias, {'a', 0, 'b', 0}},
        {Form::NarrowZero, {'a', 'b', 0}},
        {Form::NarrowLine, {'a', 'b', '\r', '\n'}},
        {Form::NarrowCounted, {2, 0, 'a', 'b'}},
    };
    for (const auto& c : cases) {
        AMemFile stream;
        EXPECT_EQ(text.Write(stream, c.form), 0);
        EXPECT_EQ(Bytes(stream), c.bytes) << int(c.form);
    }
    AMemFile stream;
    EXPECT_EQ(text.Write(stream, static_cast<Form>(10)), kErrorStringWriteForm);
    AString back;
    EXPECT_EQ(back.Read(stream, Form::WideAlias, 4), kErrorStringReadForm);
}

TEST(AStringForms, LineReadsStopAtLineEndsAndEndOfStream) {
    const std::string lines = "first\r\nsecond\nlast";
    AMemFile stream(lines.data(), static_cast<uint32_t>(lines.size()));
    AString line;
    EXPECT_EQ(line.Read(stream, AString::Form::NarrowLine, 2048), 0);
    EXPECT_EQ(line, "first");
    EXPECT_EQ(line.Read(stream, AString::Form::NarrowLine, 2048), 0);
    EXPECT_EQ(line, "second");
    EXPECT_EQ(line.Read(stream, AString::Form::NarrowLine, 2048), 0);
    EXPECT_EQ(line, "last");
    EXPECT_EQ(line.Read(stream, AString::Form::NarrowLine, 2048), kErrorEndOfStream);
    EXPECT_TRUE(line.IsEmpty());
}

TEST(AStringForms, ExactBytesReadByEachForm) {
    const struct {
        const char* what;
        AString::Form form;
        int max;
        std::vector<uint8_t> bytes;
        int result;
        std::u16string text;
    } cases[] = {
        {"8-bit, max bytes", AString::Form::Narrow, 2, {'a', 'b', 'c'}, 0, u"ab"},
        {"8-bit up to a zero byte", AString::Form::NarrowZero, 10, {'a', 0, 'b'}, 0, u"a"},
        {"8-bit zero byte not within max", AString::Form::NarrowZero, 1, {'a', 'b', 0}, 0, u"a"},
        {"8-bit byte that is no UTF-8", AString::Form::NarrowZero, 10, {0xE9, 0}, 0, u"\xDCE9"},
        {"counted 8-bit", AString::Form::NarrowCounted, 0, {2, 0, 'h', 'i', 'x'}, 0, u"hi"},
        {"counted 8-bit cut short", AString::Form::NarrowCounted, 0, {3, 0, 'h', 'i'}, kErrorEndOfStream, u""},
        {"counted 8-bit above the limit",
         AString::Form::NarrowCounted,
         0,
         {0x01, 0x08, 'h'},
         kErrorStringTooLong,
         u""},
        {"wide, odd last byte dropped", AString::Form::Wide, 3, {'a', 0, 'b', 0}, 0, u"a"},
        {"wide up to a zero character", AString::Form::WideZero, 0, {'a', 0, 0, 0, 'b', 0}, 0, u"a"},
        {"wide line", AString::Form::WideLine, 0, {'a', 0, '\r', 0, '\n', 0, 'b', 0}, 0, u"a"},
        {"record body", AString::Form::WideRecord, 0, {4, 0, 0xFF, 0xFE, 'a', 0, 'b', 0}, 0, u"a"},
        {"record body cut short",
         AString::Form::WideRecord,
         0,
         {6, 0, 0xFF, 0xFE, 'a', 0},
         kErrorStringShort,
         u"keep"},
    };
    for (const auto& c : cases) {
        AMemFile stream(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()));
        AString text(u"keep");
        EXPECT_EQ(text.Read(stream, c.form, c.max), c.result) << c.what;
        EXPECT_EQ(text.GetCString(), c.text) << c.what;
    }
}

TEST(AStringForms, EndOfStreamGivesTheStreamsShortReadCode) {
    TempDir dir;
    WriteText(dir.File("lines"), "only\r\n");
    AFile file;
    ASSERT_EQ(file.Open(dir.Text("lines"), AFile::kModeRead, false), 0);
    AString line;
    using Form = AString::Form;
    EXPECT_EQ(line.Read(file, Form::NarrowLine, 2048), 0);
    EXPECT_EQ(line, "only");
    const Form unrecorded[] = {Form::Narrow, Form::NarrowZero, Form::NarrowLine, Form::NarrowCounted,
                               Form::Wide,   Form::WideZero,   Form::WideLine};
    for (const Form form : unrecorded) {
        EXPECT_EQ(line.Read(file, form, 10), kErrorShortRead) << int(form);
        EXPECT_TRUE(line.IsEmpty()) << int(form);
    }
    AMemFile empty;
    for (const Form form : unrecorded)
        EXPECT_EQ(line.Read(empty, form, 10), kErrorEndOfStream) << int(form);
    EXPECT_EQ(line.Read(empty, Form::WideRecord, 10), kErrorEndOfStream);
}

TEST(AStringForms, ReadArgumentsAreChecked) {
    AMemFile stream;
    AString text;
    using Form = AString::Form;
    EXPECT_EQ(text.Read(stream, Form::Narrow, 2049), kErrorStringReadMax);
    EXPECT_EQ(text.Read(stream, Form::WideAlias, 10), kErrorStringReadForm);
    EXPECT_EQ(text.Read(stream, Form::Narrow, 0), 0);
    EXPECT_EQ(text.Read(stream, Form::Wide, 0), 0);
}

TEST(AString, EightBitInputKeepsEveryByte) {
    EXPECT_EQ(AString("Caf\xC3\xA9"), AString(u"Café"));
    EXPECT_EQ(AString("Caf\xE9").ToSystem8Bit(), "Caf\xE9");
    EXPECT_EQ(AString("Caf\xE9").ToUtf8(), "Caf\xEF\xBF\xBD");
    EXPECT_EQ(AString::FromSystem8Bit("Caf\xC3\xA9").ToSystem8Bit(), "Caf\xC3\xA9");
    AString one;
    one = '\x80';
    one += '\xE9';
    one += 'a';
    EXPECT_EQ(one.ToSystem8Bit(), std::string("\x80\xE9") + 'a');
}

TEST(AString, WideConstructionSkipsOneByteOrderMark) {
    EXPECT_EQ(AString(u"\uFEFFabc").GetLength(), 3);
    EXPECT_EQ(AString(u"\uFEFF\uFEFFabc").GetLength(), 4);
}

TEST(AString, SearchAndCompare) {
    const AString text("Hello World");
    EXPECT_EQ(text.Find(u'o'), 4);
    EXPECT_EQ(text.Find(u'o', 5), 7);
    EXPECT_EQ(text.Find(u'd', text.GetLength()), -1);
    EXPECT_EQ(text.Find(u'H', -1), -1);
    EXPECT_EQ(text.Find("World"), 6);
    EXPECT_EQ(text.Find(AString("WORLD"), 0, false), 6);
    EXPECT_EQ(text.Find(AString("WORLD"), 0, true), -1);
    EXPECT_EQ(text.ReverseFind(u'o'), 7);
    EXPECT_EQ(AString("abc").Compare("abd"), -1);
    EXPECT_EQ(AString("abd").Compare(AString("abc")), 1);
    EXPECT_EQ(AString("ABC").CompareNoCase("abc"), 0);
    EXPECT_LT(AString("abc").CompareNoCase("ABD"), 0);
    EXPECT_LT(AString("ab").CompareNoCase("abc"), 0);
    // Only A-Z fold.
    EXPECT_NE(AString(u"É").CompareNoCase(AString(u"é")), 0);
}

TEST(AString, PiecesAndEdits) {
    AString text("  padded\t");
    text.Trim();
    EXPECT_EQ(text, "padded");
    EXPECT_EQ(text.Left(3), "pad");
    EXPECT_EQ(text.Mid(3, 2), "de");
    EXPECT_EQ(text.Mid(10, 2), "");
    EXPECT_EQ(text.Right(3), "ded");
    text.Truncate(100);
    EXPECT_EQ(text, "padded");
    text.Truncate(3);
    EXPECT_EQ(text, "pad");
    AString replaced("aaa");
    EXPECT_EQ(replaced.Replace(u"a", u"aa"), 3);
    EXPECT_EQ(replaced, "aaaaaa");
    EXPECT_THROW(replaced.GetAt(7), std::out_of_range);
    EXPECT_EQ(replaced.GetAt(6), 0);
    AString built;
    built += "n=";
    built += 42;
    built += u'!';
    EXPECT_EQ(built, "n=42!");
}

TEST(AString, NumbersAndExtensions) {
    EXPECT_EQ(AString::FromUInt64(18446744073709551615ull), "18446744073709551615");
    EXPECT_EQ(AString::FromInt(-7), "-7");
    EXPECT_EQ(AString("ff").ToInt(16), 255);
    EXPECT_EQ(AString("12abc").ToInt(10), 12);
    EXPECT_EQ(AString("12").ToInt(8), 0);
    const struct {
        const char* name;
        int number;
    } cases[] = {
        {"Song 2.mp3", 2}, {"Song2.mp3", 0}, {"Song 2a.mp3", 0}, {"Song 2.m p3", 0}, {"Song .mp3", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(AString(c.name).GetNumberBeforeExtension(), c.number) << c.name;
    AString extension;
    AString("a.b/track.mp3").GetExtension(extension);
    EXPECT_EQ(extension, "mp3");
    AString("noext").GetExtension(extension);
    EXPECT_EQ(extension, "");
    AString("/music/Vol.2/noext").GetExtension(extension);
    EXPECT_EQ(extension, "");
}

TEST(AString, AppendPathPutsExactlyOneSeparatorAtTheSeam) {
    const struct {
        const char* base;
        const char* part;
        const char* joined;
    } cases[] = {{"/music/", "/song.mp3", "/music/song.mp3"},
                 {"/music", "song.mp3", "/music/song.mp3"},
                 {"/music/", "song.mp3", "/music/song.mp3"},
                 {"/music", "/song.mp3", "/music/song.mp3"}};
    for (const auto& c : cases) {
        AString path(c.base);
        path.AppendPath(c.part);
        EXPECT_EQ(path, c.joined);
    }
}

TEST(AString, ByteCopyHasByteOrderMarkAndTerminator) {
    const AString text(u"é");
    EXPECT_EQ(text.GetUTF16WithBOM(), (std::vector<uint8_t>{0xFF, 0xFE, 0xE9, 0x00, 0x00, 0x00}));
    EXPECT_EQ(text.GetUTF16WithBOMSize(), 6u);
}
