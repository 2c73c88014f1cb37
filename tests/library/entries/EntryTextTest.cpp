#include "library/entries/EntryText.h"

#include "support/AStringPrinting.h"

#include <cstdint>
#include <gtest/gtest.h>

TEST(EntryTextTest, LevelsAreTrimmedCleanedAndStarredWhenEmpty) {
    EntryFields fields;
    fields.genre = " Rock ";
    fields.artist = "AC/DC";
    fields.album = "  ";
    fields.trackNumber = 7;
    fields.title = "Why?";
    fields.type = "mp3";
    EXPECT_EQ(BuildEntryText(fields, {.genre = 1, .album = 1, .track = 1, .type = 1}),
              AString(u"\\Rock\\AC_DC\\*\\7\\Why_\\mp3"));
    AString entry = BuildEntryText(fields, {.genre = 0, .album = 0, .track = 0, .type = 0});
    AppendEntryId(entry, -12);
    EXPECT_EQ(entry, AString(u"\\AC_DC\\Why_?-12"));
}

TEST(EntryTextTest, TheAudioSizeNamesASongOnlyWhenNothingElseDoes) {
    int asked = 0;
    EntryFields fields;
    fields.title = "T";
    fields.audioSize = [&asked] {
        ++asked;
        return uint64_t(5000000000);
    };
    fields.album = "Album";
    EXPECT_EQ(BuildEntryText(fields, {.genre = 1, .album = 1, .track = 0, .type = 0}),
              AString(u"\\*\\*\\Album\\T"));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(BuildEntryText(fields, {.genre = 1, .album = 0, .track = 0, .type = 0}),
              AString(u"\\*\\5000000000\\T"));
    // A genre that cleans to a lone '_' names nothing.
    fields.genre = "?";
    EXPECT_EQ(BuildEntryText(fields, {.genre = 1, .album = 0, .track = 0, .type = 0}),
              AString(u"\\*\\5000000000\\T"));
    EXPECT_EQ(asked, 2);
    fields.genre = "_x";
    EXPECT_EQ(BuildEntryText(fields, {.genre = 1, .album = 0, .track = 0, .type = 0}),
              AString(u"\\_x\\*\\T"));
}

// Levels are trimmed of ' ' and U+0009 to U+000D only, and every other character is kept or cleaned in
// place: lists and stored sync sets compare these texts byte for byte.
TEST(EntryTextTest, TrimmingAndCleaningKeepEveryOtherCharacter) {
    const struct {
        const char16_t* genre;
        const char16_t* artist;
        const char16_t* title;
        const char16_t* type;
        const char16_t* entry;
    } cases[] = {
        {u"\t\r\v\f\n Pop \n", u" A ", u"T", u"mp3", u"\\Pop\\A\\T\\mp3"},
        {u"\u00A0Pop\u3000", u"A", u".T.", u" ", u"\\\u00A0Pop\u3000\\A\\.T.\\*"},
        {u" _ ", u"A", u"\u00C0|<T>", u"m:p", u"\\*\\A\\___T_\\m_p"},
        {u"__", u"", u"T", u"", u"\\__\\*\\T\\*"},
        {u"\t?\t", u"", u"T", u"x", u"\\*\\0\\T\\x"},
        {u"", u"\"A\"", u"\u00C1\u0100", u"x", u"\\*\\_A_\\\u00C1\u0100\\x"},
    };
    for (const auto& c : cases) {
        EntryFields fields;
        fields.genre = c.genre;
        fields.artist = c.artist;
        fields.title = c.title;
        fields.type = c.type;
        EXPECT_EQ(BuildEntryText(fields, {.genre = 1, .album = 0, .track = 0, .type = 1}), AString(c.entry))
            << AString(c.entry).ToUtf8();
    }
    EntryFields untitled;
    AString entry = BuildEntryText(untitled, {.genre = 0, .album = 0, .track = 1, .type = 0});
    EXPECT_EQ(entry, AString(u"\\0\\0\\*"));
    AppendEntryId(entry, INT64_MIN);
    EXPECT_EQ(entry, AString(u"\\0\\0\\*?-9223372036854775808"));
}

TEST(EntryTextTest, IdIsTheNumberAfterTheLastQuestionMark) {
    int64_t id = 0;
    EXPECT_TRUE(ParseEntryId(AString(u"\\A\\B?1?1234"), id));
    EXPECT_EQ(id, 1234);
    EXPECT_TRUE(ParseEntryId(AString(u"\\A?-7"), id));
    EXPECT_EQ(id, -7);
    EXPECT_FALSE(ParseEntryId(AString(u"\\A\\B"), id));
    EXPECT_FALSE(ParseEntryId(AString(u"\\A?"), id));
    EXPECT_FALSE(ParseEntryId(AString(u"\\A?12x"), id));
    EXPECT_EQ(EntryWithoutId(AString(u"\\A\\B?12")), AString(u"\\A\\B"));
}

// A path the sync joins from a list's root and an entry names that entry, whatever separators the join
// put between them.
TEST(EntryTextTest, ThePathOfAnEntryUnderItsRootGivesTheEntryBack) {
    struct Case {
        const char16_t* path;
        const char16_t* root;
        const char16_t* entry;
    } cases[] = {
        {u"*Root*/\\Rock\\A\\T?5", u"*Root*", u"\\Rock\\A\\T?5"},
        {u"*Root*\\Rock\\A\\T?5", u"*Root*", u"\\Rock\\A\\T?5"},
        {u"/music/\\A\\T", u"/music/", u"\\A\\T"},
        {u"/music/\\A\\T", u"/music", u"\\A\\T"},
        {u"Rock\\A\\T", u"", u"\\Rock\\A\\T"},
        {u"*Root*", u"*Root*", u"\\"},
    };
    for (const Case& item : cases)
        EXPECT_EQ(EntryBelowRoot(AString(item.path), AString(item.root)), AString(item.entry)) << AString(item.path).ToUtf8();
}

TEST(EntryTextTest, SplitFollowsTheLayout) {
    const AString entry(u"\\Rock\\Artist\\Album\\05\\Title\\mp3?9");
    const EntryLevels all = SplitEntry(entry, {true, true, true, true});
    EXPECT_EQ(all.genre, AString("Rock"));
    EXPECT_EQ(all.artist, AString("Artist"));
    EXPECT_EQ(all.album, AString("Album"));
    EXPECT_EQ(all.track, AString("05"));
    EXPECT_EQ(all.title, AString("Title"));
    EXPECT_EQ(all.type, AString("mp3"));

    const EntryLevels bare = SplitEntry(AString(u"Artist\\Title?3"), {false, false, false, false});
    EXPECT_EQ(bare.artist, AString("Artist"));
    EXPECT_EQ(bare.title, AString("Title"));
    EXPECT_TRUE(bare.genre.IsEmpty());
}

TEST(EntryTextTest, EntryKeysOrderAsWholeEntriesSort) {
    // "Song 2?" comes before "Song?" because ' ' is below '?': a text given without its tail must
    // compare the same way, or a search for "Song" would miss it when "Song 2" exists.
    const struct {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"\\A\\Song 2?5", "\\A\\Song?3", -1}, {"\\A\\Song 2", "\\A\\Song", -1},
        {"\\A\\Song", "\\A\\song?9", 0},      {"\\A\\Song?1", "\\A\\Song?2", 0},
        {"\\A\\*?1", "\\A\\Song?1", -1},      {"\\A\\Song_?1", "\\A\\Song", 1},
    };
    for (const auto& c : cases) {
        const int order = CompareEntryKeys(AString(c.a), AString(c.b));
        EXPECT_EQ((order > 0) - (order < 0), c.sign) << c.a << " / " << c.b;
        const int reverse = CompareEntryKeys(AString(c.b), AString(c.a));
        EXPECT_EQ((reverse > 0) - (reverse < 0), -c.sign) << c.b << " / " << c.a;
        // The keys of a long sort order the same way.
        const int byKey = EntrySortKey(AString(c.a)).compare(EntrySortKey(AString(c.b)));
        EXPECT_EQ((byKey > 0) - (byKey < 0), c.sign) << c.a << " / " << c.b;
    }
}

TEST(EntryTextTest, AKeyAppendedBehindItsEntryInOneStoreIsThatEntrysKey) {
    // Long enough to be folded in several pieces, and in a store that must grow while the key is
    // appended after the entry it reads from.
    std::u16string title;
    for (int i = 0; i < 50; ++i)
        title += u"AbZ";
    const std::u16string entry = u"\\Artist\\" + title + u"?42";
    for (const std::u16string& before : {std::u16string(), std::u16string(u"\\X\\Y?1\\x\\y?")}) {
        std::u16string store = before;
        store += entry;
        store.shrink_to_fit();
        AppendTailSortKey(store, before.size());
        EXPECT_EQ(store, before + entry + EntrySortKey(AString(entry)));
    }
}
