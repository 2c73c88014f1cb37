#include "library/tags/GenreTable.h"

#include "support/AStringPrinting.h"

#include <gtest/gtest.h>

namespace {

TEST(GenreTable, NamesAndTheSpellingsChosenHere) {
    EXPECT_EQ(GenreTable::Name(0), AString("Blues"));
    EXPECT_EQ(GenreTable::Name(17), AString("Rock"));
    EXPECT_EQ(GenreTable::Name(40), AString("AlternRock"));
    EXPECT_EQ(GenreTable::Name(62), AString("Pop/Funk"));
    EXPECT_EQ(GenreTable::Name(78), AString("Rock & Roll"));
    EXPECT_EQ(GenreTable::Name(109), AString("Porn Groove"));
    EXPECT_EQ(GenreTable::Name(123), AString("A Capella"));
    EXPECT_EQ(GenreTable::Name(124), AString("Euro-House"));
    EXPECT_EQ(GenreTable::Name(125), AString("Dance Hall"));
    EXPECT_EQ(GenreTable::Name(126), AString());
    EXPECT_EQ(GenreTable::Name(UINT64_MAX), AString());
}

TEST(GenreTable, ResolveGenreV2) {
    const struct {
        const char* text;
        const char* genre;
    } cases[] = {
        {"(17)", "Rock"},
        {"(17)Rock", "Rock"},
        {"(4)(17)", ""}, // the digits 417 name no genre
        {"Jazz", "Jazz"},
        {"17", "17"},
        {"()", "Blues"},
        {"", ""},
        // Numbers of any length never wrap onto a listed genre.
        {"(4294967313)", ""},
        {"(18446744073709551633)", ""},
        {"(99999999999999999999999999999999999999)", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GenreTable::ResolveGenreV2(AString(c.text)), AString(c.genre)) << c.text;
}

TEST(GenreTable, ResolveGenreNumber) {
    const struct {
        const char* text;
        int offset;
        const char* genre;
    } cases[] = {
        {"18", -1, "Rock"},        {"(18)", -1, "Rock"},   {"0", -1, ""},
        {"126", -1, "Dance Hall"}, {"127", -1, ""},        {"Jazz", -1, "Jazz"},
        {"18a", -1, "18a"},        {"(18", -1, "Rock"},    {"", -1, ""},
        {"17", 0, "Rock"},         {"4294967314", -1, ""}, {"99999999999999999999999999", -1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GenreTable::ResolveGenreNumber(AString(c.text), c.offset), AString(c.genre)) << c.text;
}

} // namespace
