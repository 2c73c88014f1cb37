#include "widgets/SeparatorComboBox.h"

#include "WidgetTestSupport.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/ControlMessages.h"

#include <QAbstractItemView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int kId = 1005;

class SeparatorComboBoxTest : public testing::Test {
protected:
    SeparatorComboBoxTest() : combo(kId, &parent) {
        combo.setGeometry(10, 10, 180, 24);
        combo.addItem(QStringLiteral("Library"));
        combo.addItem(QStringLiteral("------------"), SeparatorComboBox::kSeparatorData);
        combo.addItem(QStringLiteral("Road Trip"));
        parent.show();
        Drain();
    }

    void ClickRow(int row) {
        QAbstractItemView* view = combo.view();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 0)).center());
        Drain();
    }

    MessageRecorder parent;
    SeparatorComboBox combo;
};

} // namespace

TEST_F(SeparatorComboBoxTest, ClickingASeparatorRowLeavesTheListOpenAndTheSelectionUnchanged) {
    combo.setCurrentIndex(0);
    combo.showPopup();
    Drain();
    ASSERT_TRUE(combo.view()->isVisible());
    ClickRow(1);
    EXPECT_TRUE(combo.view()->isVisible());
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_TRUE(parent.messages.empty());

    ClickRow(2);
    EXPECT_FALSE(combo.view()->isVisible());
    EXPECT_EQ(combo.currentIndex(), 2);
    ASSERT_EQ(parent.messages.size(), 1u);
    EXPECT_EQ(parent.messages[0].number, nativeui::kWmCommand);
    EXPECT_EQ(parent.messages[0].wParam, nativeui::MakeWParam(kId, controlmsg::kCbnSelChange));
}

TEST_F(SeparatorComboBoxTest, SetCurSelPostsTheComboAndSetIndexWaitsToBeApplied) {
    EXPECT_EQ(combo.SetCurSel(2), 2);
    Drain();
    ASSERT_EQ(parent.messages.size(), 1u);
    EXPECT_EQ(parent.messages[0].number, controlmsg::kWmComboSelChanged);
    EXPECT_EQ(parent.messages[0].wParam, reinterpret_cast<intptr_t>(&combo));
    EXPECT_EQ(parent.messages[0].lParam, 0);

    combo.SetIndex(0);
    EXPECT_EQ(combo.currentIndex(), 2);
    combo.ApplyCurSel();
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_EQ(combo.SetCurSel(7), -1);
}
