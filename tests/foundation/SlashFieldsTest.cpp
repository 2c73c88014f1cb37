#include "foundation/SlashFields.h"

#include "support/AStringPrinting.h"

#include <gtest/gtest.h>

TEST(ParseSlashFields, SplitsAllFieldsAndTrimsTexts) {
    int a, c, d;
    uint64_t b;
    AString text1, text2;
    ParseSlashFields(a, b, c, d, text1, text2, AString("?12/3456789012_80/5/ nice song /Rock/Pop"));
    EXPECT_EQ(a, 12);
    EXPECT_EQ(b, 3456789012u);
    EXPECT_EQ(c, 80);
    EXPECT_EQ(d, 5);
    EXPECT_EQ(text1, "nice song");
    EXPECT_EQ(text2, "Rock/Pop");
}

TEST(ParseSlashFields, MissingFieldsAndStarsAreEmpty) {
    int a = 9, c = 9, d = 9;
    uint64_t b = 9;
    AString text1("x"), text2("y");
    ParseSlashFields(a, b, c, d, text1, text2, AString("?3/77/2/*/*"));
    EXPECT_EQ(a, 3);
    EXPECT_EQ(b, 0u);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(d, 2);
    EXPECT_EQ(text1, "");
    EXPECT_EQ(text2, "");
    ParseSlashFields(a, b, c, d, text1, text2, AString("?"));
    EXPECT_EQ(a + c + d, 0);
}

TEST(ParseSlashFields, NumbersAreSignedAndANegativeLowWordIsItsBitPattern) {
    int a, c, d;
    uint64_t b;
    AString text1, text2;
    // A played time of 3900000000 written as its signed low word and high word.
    ParseSlashFields(a, b, c, d, text1, text2, AString("?-2/-394967296_0/-1/*/*"));
    EXPECT_EQ(a, -2);
    EXPECT_EQ(b, 3900000000u);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(d, -1);
}
