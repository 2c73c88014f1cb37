#include "library/entries/ColonList.h"

#include <gtest/gtest.h>

TEST(ColonListTest, ContainsWholeItemsIgnoringCase) {
    const AString list(":mp3:m4p:Rock n Roll:");
    EXPECT_TRUE(ColonListContains(list, AString("MP3")));
    EXPECT_TRUE(ColonListContains(list, AString("rock n roll")));
    EXPECT_FALSE(ColonListContains(list, AString("m4")));
    EXPECT_FALSE(ColonListContains(list, AString("Rock")));
    // Only A-Z fold; an item may span a colon of the list; the list's edges are no colons.
    EXPECT_FALSE(ColonListContains(AString(u":\u00C9t\u00E9:"), AString(u"\u00E9t\u00E9")));
    EXPECT_TRUE(ColonListContains(list, AString("M4P:rock N roll")));
    EXPECT_FALSE(ColonListContains(AString("mp3:aac:"), AString("mp3")));
    EXPECT_FALSE(ColonListContains(AString(":mp3"), AString("mp3")));
}

// A stray "::" in a filter list must not make an empty tag match.
TEST(ColonListTest, EmptyItemsMatchNothing) {
    EXPECT_FALSE(ColonListContains(AString(":Rock::Pop:"), AString()));
    EXPECT_FALSE(ColonListItemOccursIn(AString(":live::demo:"), AString("Studio Take")));
    EXPECT_TRUE(ColonListItemOccursIn(AString(":live::demo:"), AString("a demo")));
}

TEST(ColonListTest, FragmentsNeedAClosingColonAndMatchCase) {
    const AString list(":rock:pop");
    EXPECT_TRUE(ColonListItemOccursIn(list, AString("/music/rock/a.mp3")));
    EXPECT_FALSE(ColonListItemOccursIn(list, AString("/music/pop/a.mp3")));
    EXPECT_FALSE(ColonListItemOccursIn(list, AString("/music/ROCK/a.mp3")));
    EXPECT_FALSE(ColonListItemOccursIn(AString(), AString("anything")));
}
