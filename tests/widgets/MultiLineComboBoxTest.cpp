#include "widgets/MultiLineComboBox.h"

#include "WidgetTestSupport.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/ControlMessages.h"

#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int kId = 3051;

class MultiLineComboBoxTest : public testing::Test {
protected:
    MultiLineComboBoxTest() : combo(kId, &parent) {
        combo.setGeometry(10, 10, 220, 40);
        combo.InsertString(-1, QStringLiteral("/music/Deleted"));
        combo.InsertString(-1, QStringLiteral("/archive/Old Songs"));
        combo.SetCurSel(0);
        parent.show();
        Drain();
    }

    // Through the window, as the user clicks: an open popup list sees the press first.
    void ClickButton() {
        QTest::mouseClick(parent.windowHandle(), Qt::LeftButton, {},
                          combo.mapTo(&parent, combo.ButtonRect().center()));
        Drain();
    }

    MessageRecorder parent;
    MultiLineComboBox combo;
};

} // namespace

TEST_F(MultiLineComboBoxTest, ASecondClickOnTheButtonClosesTheListUnchanged) {
    ClickButton();
    ASSERT_TRUE(combo.IsListShown());
    ASSERT_TRUE(combo.ListBox()->isVisible());
    EXPECT_EQ(combo.ListBox()->List()->count(), 2);
    EXPECT_EQ(combo.ListBox()->List()->currentRow(), 0) << "the entry that the edit shows is highlighted";

    ClickButton();
    EXPECT_FALSE(combo.IsListShown());
    EXPECT_FALSE(combo.ListBox()->isVisible());
    EXPECT_EQ(combo.GetCurSel(), 0);
    EXPECT_EQ(combo.GetEditText(), QStringLiteral("/music/Deleted"));
    EXPECT_TRUE(parent.messages.empty());

    ClickButton();
    EXPECT_TRUE(combo.ListBox()->isVisible()) << "a third click opens it again";
    combo.ListBox()->hide();
}

TEST_F(MultiLineComboBoxTest, AChoiceInTheListFillsTheEditAndNotifiesTheParent) {
    ClickButton();
    QListWidget* list = combo.ListBox()->List();
    const QRect row = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    Drain();
    EXPECT_FALSE(combo.ListBox()->isVisible());
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(combo.GetEditText(), QStringLiteral("/archive/Old Songs"));
    ASSERT_EQ(parent.messages.size(), 1u);
    EXPECT_EQ(parent.messages[0].number, nativeui::kWmCommand);
    EXPECT_EQ(parent.messages[0].wParam, nativeui::MakeWParam(kId, controlmsg::kCbnSelChange));
}

TEST_F(MultiLineComboBoxTest, EnterChoosesTheHighlightedRow) {
    ClickButton();
    QListWidget* list = combo.ListBox()->List();
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Return);
    Drain();
    EXPECT_EQ(combo.GetCurSel(), 1);
    EXPECT_EQ(parent.messages.size(), 1u);
}
