// The song key: its text form, read back through the foundation's key parser, and the merge of two
// songs' play data.

#include "sync/SongKey.h"

#include "support/AStringPrinting.h"

#include <gtest/gtest.h>

namespace {

SongKey Key(int playCount, uint64_t lastPlayed, int rating, const char* comment, const char* equalizer) {
    SongKey key;
    key.playCount = playCount;
    key.lastPlayed = lastPlayed;
    key.rating = rating;
    key.comment = comment;
    key.equalizer = equalizer;
    return key;
}

} // namespace

TEST(SongKey, TextFormSplitsTheLastPlayedTimeWithAnUnderscore) {
    // A low word with its top bit set is written as the negative number the library writes.
    const SongKey key = Key(7, 0x00000001'F0000000ULL, 80, "", "Rock");
    EXPECT_EQ(key.Format(), "/7/-268435456_1/80/*/Rock");
    const SongKey back = SongKey::Parse(key.Format());
    EXPECT_EQ(back.playCount, 7);
    EXPECT_EQ(back.lastPlayed, 0x00000001'F0000000ULL);
    EXPECT_EQ(back.rating, 80);
    EXPECT_TRUE(back.comment.IsEmpty());
    EXPECT_EQ(back.equalizer, "Rock");
}

TEST(SongKey, AnEmptyKeyHasNoPlayData) {
    const SongKey key = SongKey::Parse(AString());
    EXPECT_EQ(key.DifferingFields(SongKey(), ~0U), 0U);
}

TEST(SongKey, MergeKeepsWhatEitherSideKnows) {
    const SongKey side1 = Key(3, 500, 0, "live", "");
    const SongKey side2 = Key(9, 200, 60, "studio", "Jazz");
    const SongKey merged = SongKey::Merge(side1, side2);
    EXPECT_EQ(merged.playCount, 9);
    EXPECT_EQ(merged.lastPlayed, 500U);
    EXPECT_EQ(merged.rating, 60);
    EXPECT_EQ(merged.comment, "live");
    EXPECT_EQ(merged.equalizer, "Jazz");
    EXPECT_EQ(SongKey::Merge(side2, side1).rating, 60);
    EXPECT_EQ(SongKey::Merge(Key(0, 0, 20, "", ""), side2).rating, 20);
}

TEST(SongKey, DifferingFieldsAreLimitedToTheMask) {
    const SongKey a = Key(1, 10, 20, "c", "e");
    const SongKey b = Key(2, 10, 20, "c", "f");
    EXPECT_EQ(a.DifferingFields(b, ~0U), SongKey::kPlayCount | SongKey::kEqualizer);
    EXPECT_EQ(a.DifferingFields(b, SongKey::kRating | SongKey::kEqualizer), SongKey::kEqualizer);
    EXPECT_EQ(a.DifferingFields(a, ~0U), 0U);
}
