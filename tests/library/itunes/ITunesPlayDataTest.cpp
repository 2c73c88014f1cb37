#include "library/itunes/ITunesPlayData.h"

#include "support/AStringPrinting.h"

#include <gtest/gtest.h>

namespace {

TEST(ITunesPlayData, AKeyWithoutTextsEndsInStars) {
    ITunesPlayData data;
    data.playedCount = 4;
    data.rating = 80;
    EXPECT_EQ(data.ToKey(), "/4/0_0/80/*/*");
}

// The played time's low word is written signed, as the other computer's program writes it.
TEST(ITunesPlayData, TheKeyCarriesEveryValueThereAndBack) {
    ITunesPlayData data;
    data.playedCount = 12;
    data.playedTime = 0x00000001F0000000ull;
    data.rating = 100;
    data.comment = "Live / at home?";
    data.equalizer = "Rock";
    const AString key = data.ToKey();
    EXPECT_EQ(key, "/12/-268435456_1/100/Live _ at home_/Rock");
    const ITunesPlayData back = ITunesPlayData::FromKey(key);
    EXPECT_EQ(back.playedCount, 12);
    EXPECT_EQ(back.playedTime, data.playedTime);
    EXPECT_EQ(back.rating, 100);
    EXPECT_EQ(back.comment, "Live _ at home_");
    EXPECT_EQ(back.equalizer, "Rock");
    const ITunesPlayData none = ITunesPlayData::FromKey(AString());
    EXPECT_EQ(none.playedCount, 0);
    EXPECT_TRUE(none.comment.IsEmpty());
}

} // namespace
