#include "platform/ini/IniDocument.h"

#include <gtest/gtest.h>

using nativeini::IniDocument;
using nativeini::IniEntry;

namespace {

struct FindCase {
    const char* name;
    std::string text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

void PrintTo(const FindCase& c, std::ostream* out) {
    *out << c.name;
}

class IniDocumentFind : public testing::TestWithParam<FindCase> {};

TEST_P(IniDocumentFind, ReadsAsWindowsDoes) {
    const FindCase& c = GetParam();
    EXPECT_EQ(IniDocument::FromBytes(c.text).Find(c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniDocumentFind,
    testing::Values(
        FindCase{"NamesIgnoreCase", "[Stat]\r\nExtIP=1.2.3.4\r\n", "STAT", "extip", "1.2.3.4"},
        FindCase{"BlanksTrimmed", "  [ Stat ]  \n\t ExtPort =  10564 \t\n", "Stat", "ExtPort", "10564"},
        FindCase{"DoubleQuotesDropped", "[Startup]\nfile=\"/home/a b/x.txfig\"\n", "Startup", "file",
                 "/home/a b/x.txfig"},
        FindCase{"SingleQuotesDropped", "[S]\nk='v'\n", "S", "k", "v"},
        FindCase{"UnpairedQuotesKept", "[S]\nk=\"v'\n", "S", "k", "\"v'"},
        FindCase{"EqualsInValueKept", "[S]\nk=a=b\n", "S", "k", "a=b"},
        FindCase{"EmptyValue", "[S]\nk=\n", "S", "k", ""},
        FindCase{"KeyBeforeAnySectionIgnored", "k=1\n[S]\n", "S", "k", std::nullopt},
        FindCase{"KeyOfAnotherSection", "[A]\nk=1\n[B]\nj=2\n", "B", "k", std::nullopt},
        FindCase{"CommentIsNoKey", "[S]\n;k=1\n", "S", ";k", std::nullopt},
        FindCase{"LineWithoutEqualsIsNoKey", "[S]\nk\n", "S", "k", std::nullopt},
        FindCase{"FirstOfTwoKeys", "[S]\nk=1\nK=2\n", "S", "k", "1"},
        FindCase{"SectionRepeated", "[S]\na=1\n[T]\nk=0\n[s]\nk=2\n", "S", "k", "2"},
        FindCase{"SectionWithoutBracket", "[Stat\nStatus=1\n", "Stat", "Status", "1"},
        FindCase{"LastLineWithoutBreak", "[S]\nk=v", "S", "k", "v"},
        FindCase{"Utf8WithMark", "\xEF\xBB\xBF[S]\r\nk=\xC3\xA4\r\n", "S", "k", "\xC3\xA4"},
        FindCase{"Utf16WithMark", std::string("\xFF\xFE[\0S\0]\0\n\0k\0=\0\xE4\0", 16), "S", "k", "\xC3\xA4"},
        FindCase{"NotUtf8BytesKept", "[S]\nk=\xE4\n", "S", "k", "\xE4"}),
    [](const testing::TestParamInfo<FindCase>& info) { return info.param.name; });

std::string AfterSet(const std::string& text, const char* section, std::vector<IniEntry> entries) {
    IniDocument document = IniDocument::FromBytes(text);
    document.Set(section, entries);
    return document.ToBytes();
}

TEST(IniDocument, NewFileHasItsSectionAndKeysInOrder) {
    EXPECT_EQ(AfterSet("", "Stat", {{"CompName", "HOMEPC"}, {"ExtPort", "10564"}, {"ExtIP", "11.0.0.1"}}),
              "[Stat]\r\nCompName=HOMEPC\r\nExtPort=10564\r\nExtIP=11.0.0.1\r\n");
}

TEST(IniDocument, ChangesOnlyTheLinesOfTheKeys) {
    const std::string before = "; router\n[Stat]\nStatus = 0\n  ExtPort=1\n\n[Other]\nx=y\n";
    EXPECT_EQ(AfterSet(before, "stat", {{"STATUS", "1"}}),
              "; router\n[Stat]\nStatus=1\n  ExtPort=1\n\n[Other]\nx=y\n");
}

TEST(IniDocument, NewKeyGoesAtTheEndOfItsSection) {
    EXPECT_EQ(AfterSet("[Stat]\r\nStatus=1\r\n\r\n[Other]\r\nx=y\r\n", "Stat", {{"ExtIP", "11.0.0.1"}}),
              "[Stat]\r\nStatus=1\r\nExtIP=11.0.0.1\r\n\r\n[Other]\r\nx=y\r\n");
}

TEST(IniDocument, NewSectionGoesAtTheEndAfterABlankLine) {
    EXPECT_EQ(AfterSet("[Other]\nx=y", "Startup", {{"file", "/a/b.txfig"}}),
              "[Other]\nx=y\n\n[Startup]\nfile=/a/b.txfig\n");
}

TEST(IniDocument, ValuesAreWrittenAsGiven) {
    const std::string value = R"(C:\My Files\a;b=%20"c".txfig)";
    const std::string text = AfterSet("", "Startup", {{"file", value}});
    EXPECT_EQ(text, "[Startup]\r\nfile=" + value + "\r\n");
    EXPECT_EQ(IniDocument::FromBytes(text).Find("Startup", "file"), value);
}

TEST(IniDocument, KeepsTheFilesEncoding) {
    const std::string marked = "\xEF\xBB\xBF[S]\nk=1\n";
    EXPECT_EQ(AfterSet(marked, "S", {{"k", "2"}}), "\xEF\xBB\xBF[S]\nk=2\n");
    const std::string wide("\xFF\xFE[\0S\0]\0\r\0\n\0", 12);
    EXPECT_EQ(AfterSet(wide, "S", {{"k", "\xC3\xA4"}}), wide + std::string("k\0=\0\xE4\0\r\0\n\0", 10));
}

TEST(IniDocument, AWrittenDocumentReadsAsItself) {
    // Odd line breaks: returns inside lines of a "\n" file, a return ending an unfinished last line.
    for (const std::string& text :
         std::vector<std::string>{"a\n[S]\r\nk=v\r\n", "\r\n[Stat\r\n\n[Stat\r\r", "x\r", "[S]\r\r\n\n",
                                  std::string("\xFF\xFE[\0S\0]\0\r\0\r\0\n\0", 14)}) {
        const std::string written = AfterSet(text, "Stat", {{"ExtPort", "10564"}});
        EXPECT_EQ(IniDocument::FromBytes(written).ToBytes(), written) << testing::PrintToString(text);
        EXPECT_EQ(IniDocument::FromBytes(written).Find("Stat", "ExtPort"), "10564");
    }
}

TEST(IniDocument, RefusesWhatWouldReadBackOtherwise) {
    const auto can = [](std::string_view section, std::string key, std::string value) {
        const IniEntry entry{std::move(key), std::move(value)};
        return IniDocument::CanWrite(section, std::span(&entry, 1));
    };
    EXPECT_TRUE(can("Stat", "ExtIP", "1.2.3.4"));
    EXPECT_TRUE(can("Stat", "ExtIP", ""));
    EXPECT_FALSE(can("Stat", "CompName", "evil\r\n[Stat]\r\nExtIP=6.6.6.6"));
    EXPECT_FALSE(can("Stat", "CompName", std::string("a\0b", 3)));
    EXPECT_FALSE(can("Stat", "a=b", "v"));
    EXPECT_FALSE(can("Stat", "[x", "v"));
    EXPECT_FALSE(can("Stat", ";x", "v"));
    EXPECT_FALSE(can("Stat", "", "v"));
    EXPECT_FALSE(can("Stat", " x", "v"));
    EXPECT_FALSE(can("St]at", "x", "v"));
    EXPECT_FALSE(can("", "x", "v"));
}

} // namespace
