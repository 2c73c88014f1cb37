#include "library/entries/ColonList.h"

#include <gtest/gtest.h>

TEST(ColonListTest, ContainsWholeItemsIgnoringCase) {
    const AString list(":mp3:m4p:Rock n Roll:");
    EXPECT_TRUE(ColonListContains(list, AString("MP3")));
    EXPECT_TRUE(ColonListContains(list, AString("rock n roll")));
    EXPECT_FALSE(ColonListContains(list, AString("m4")));
    EXPECT_FALSE(ColonListContains(list, AString("Rock")));
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
