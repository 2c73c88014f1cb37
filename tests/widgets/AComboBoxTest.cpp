#include "widgets/AComboBox.h"

#include "WidgetTestSupport.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/ControlMessages.h"
#include "widgets/ToolkitFonts.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

constexpr int kId = 1014;

class AComboBoxTest : public testing::Test {
protected:
    AComboBoxTest() : combo(kId, &parent) {
        combo.setGeometry(40, 20, 160, 22);
        combo.AddString(QStringLiteral("My iPod"));
        combo.AddString(QString::fromLatin1(AComboBox::kSeparatorText));
        combo.AddString(QStringLiteral("iTunes on kitchen"));
        parent.show();
        Drain();
    }

    const intptr_t handle = reinterpret_cast<intptr_t>(&combo);
    MessageRecorder parent;
    AComboBox combo;
};

} // namespace

TEST_F(AComboBoxTest, APopupChoiceNotifiesTwiceInOrder) {
    QTest::mouseClick(&combo, Qt::LeftButton, {}, QPoint(20, 10));
    QMenu* popup = combo.Popup();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(popup->isVisible());
    const QList<QAction*> items = popup->actions();
    ASSERT_EQ(items.size(), 3);
    items[2]->trigger();
    Drain();
    EXPECT_EQ(combo.GetCurSel(), 2);
    ASSERT_EQ(parent.messages.size(), 2u);
    EXPECT_EQ(parent.messages[0].number, controlmsg::kWmComboSelChanged);
    EXPECT_EQ(parent.messages[0].wParam, handle);
    EXPECT_EQ(parent.messages[0].lParam, 2);
    EXPECT_EQ(parent.messages[1].number, nativeui::kWmCommand);
    EXPECT_EQ(parent.messages[1].wParam, nativeui::MakeWParam(kId, controlmsg::kCbnSelChange));
    EXPECT_EQ(parent.messages[1].lParam, handle);
    popup->close();
}

TEST_F(AComboBoxTest, ASeparatorIsALineInThePopupThatCannotBeChosen) {
    QTest::mouseClick(&combo, Qt::LeftButton, {}, QPoint(20, 10));
    QMenu* popup = combo.Popup();
    ASSERT_NE(popup, nullptr);
    const QList<QAction*> items = popup->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_TRUE(items[1]->isSeparator());
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(items[1]).center());
    Drain();
    EXPECT_TRUE(parent.messages.empty());
    EXPECT_EQ(combo.GetCurSel(), -1);
    popup->close();
}

TEST_F(AComboBoxTest, ResetContentSelectsNothingAndShowsTheEmptyText) {
    combo.SetEmptyText(QStringLiteral("No iPod connected"));
    combo.SetCurSel(0);
    const QImage withEntry = DrawControl(combo);
    combo.ResetContent();
    Drain();
    EXPECT_EQ(combo.GetCount(), 0);
    ASSERT_EQ(parent.messages.size(), 2u);
    EXPECT_EQ(parent.messages[1].number, controlmsg::kWmComboSelChanged);
    EXPECT_EQ(parent.messages[1].lParam, -1);
    AComboBox empty(kId, &parent);
    empty.setGeometry(combo.geometry());
    empty.SetEmptyText(QStringLiteral("No iPod connected"));
    EXPECT_EQ(DrawControl(combo), DrawControl(empty));
    EXPECT_NE(DrawControl(combo), withEntry);
}

TEST_F(AComboBoxTest, AccessorsRejectAnIndexOutsideTheEntries) {
    QString text;
    for (int index : {-1, 3, 100}) {
        EXPECT_THROW(combo.GetItemData(index), std::invalid_argument);
        EXPECT_THROW(combo.SetItemData(index, 1), std::invalid_argument);
        EXPECT_THROW(combo.GetItemText(index, text), std::invalid_argument);
    }
    combo.SetItemData(2, 77);
    EXPECT_EQ(combo.GetItemData(2), 77u);
    combo.GetItemText(2, text);
    EXPECT_EQ(text, QStringLiteral("iTunes on kitchen"));
}

TEST_F(AComboBoxTest, AutoSizeFitsTheChosenTextAroundTheCentre) {
    combo.SetAutoSize(true);
    const int centre = combo.geometry().center().x();
    combo.SetCurSel(2);
    const int width =
        QFontMetrics(combo.GetFont()).horizontalAdvance(QStringLiteral("iTunes on kitchen")) + 16 + 10;
    EXPECT_EQ(combo.width(), width);
    EXPECT_NEAR(combo.geometry().center().x(), centre, 1);
    EXPECT_EQ(combo.height(), 22);
}

TEST_F(AComboBoxTest, HoveringUnderlinesTheTextOfAnEnabledCombo) {
    combo.SetInnerFrame(false);
    combo.SetCurSel(0);
    const QImage plain = DrawControl(combo);
    QTest::mouseMove(&combo, QPoint(20, 10));
    const QImage hot = DrawControl(combo);
    const QFontMetrics metrics(combo.GetFont());
    const int underline = (22 - metrics.height()) / 2 + metrics.height() - 1;
    EXPECT_NE(plain.pixel(8, underline), hot.pixel(8, underline));
    EXPECT_EQ(hot.pixel(8, underline), QColor(Qt::black).rgb());
    combo.EnableWindow(false);
    EXPECT_NE(DrawControl(combo).pixel(8, underline), QColor(Qt::black).rgb());
}
