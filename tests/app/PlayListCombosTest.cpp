#include "app/window/PlayListCombos.h"
#include "harness/QtPrinting.h"
#include "widgets/SeparatorComboBox.h"
#include "widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

namespace {

QStringList Texts(const SeparatorComboBox& combo) {
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts.append(combo.itemText(i));
    return texts;
}

TEST(PlayListCombosTest, AComboHoldingExactlyThePlayListsOnlyHasItsSelectionFollow) {
    SeparatorComboBox combo(1005, nullptr);
    PlayListCombos::Fill(combo, "Main Library", {"Rock", "Jazz"}, "jazz");
    EXPECT_EQ(Texts(combo), QStringList({"Main Library", "Rock", "Jazz", "New playlist..."}));
    EXPECT_EQ(combo.currentIndex(), 2);
    EXPECT_EQ(combo.itemData(3).toInt(), PlayListCombos::kNewPlayListData);

    // The same playlists in another letter case: nothing is refilled.
    const QString before = combo.itemText(1);
    PlayListCombos::Fill(combo, "Main Library", {"ROCK", "Jazz"}, "rock");
    EXPECT_EQ(combo.itemText(1), before);
    EXPECT_EQ(combo.currentIndex(), 1);

    // One playlist gone: the combo is no longer the playlists and two more, so it is filled again,
    // even though every playlist left matches the entry at its place.
    PlayListCombos::Fill(combo, "Main Library", {"ROCK"}, "");
    EXPECT_EQ(Texts(combo), QStringList({"Main Library", "ROCK", "New playlist..."}));
    EXPECT_EQ(combo.currentIndex(), 0);
}

TEST(PlayListCombosTest, LastSyncIsNeverListed) {
    EXPECT_EQ(PlayListCombos::Listed({AString("Rock"), AString("last sync"), AString("Jazz")}),
              (std::vector<QString>{"Rock", "Jazz"}));
}

} // namespace
