#include "library/itunes/ITunesSongIndex.h"

#include "library/itunes/ITunesSong.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<ITunesSong> SongWithID(uint32_t id) {
    auto song = std::make_unique<ITunesSong>();
    song->SetDatabaseID(id);
    return song;
}

} // namespace

// Songs whose ids share a bucket (id % 100) are still told apart; only the index's own songs are freed.
TEST(ITunesSongIndexTest, OwnsItsSongsAndFindsThemById) {
    ITunesSongIndex index;
    ITunesSong* first = index.Add(SongWithID(7));
    ITunesSong* second = index.Add(SongWithID(107));
    index.Add(SongWithID(8));
    EXPECT_EQ(index.GetCount(), 3);
    EXPECT_EQ(index.Find(7), first);
    EXPECT_EQ(index.Find(107), second);
    EXPECT_EQ(index.Find(207), nullptr);

    const ITunesSong stranger;
    index.Remove(&stranger);
    EXPECT_EQ(index.GetCount(), 3);
    index.Remove(first);
    EXPECT_EQ(index.GetCount(), 2);
    EXPECT_EQ(index.Find(7), nullptr);
    EXPECT_EQ(index.Find(107), second);
    index.Clear();
    EXPECT_EQ(index.GetCount(), 0);
    EXPECT_EQ(index.Find(8), nullptr);
}
