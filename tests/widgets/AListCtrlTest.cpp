#include "widgets/AListCtrl.h"

#include "WidgetTestSupport.h"
#include "platform/ui/WindowMessages.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

class AListCtrlTest : public testing::Test {
protected:
    AListCtrlTest() : list(3200, &parent) {
        list.setGeometry(10, 10, 180, 120);
        for (const char* type : {"mp3", "m4a", "aac"})
            list.InsertItem(list.GetItemCount(), QString::fromLatin1(type));
        parent.show();
        Drain();
    }

    MessageRecorder parent;
    AListCtrl list;
};

} // namespace

TEST_F(AListCtrlTest, ClicksReachTheParentWithTheirScreenPoint) {
    const QPoint point(5, 5);
    const QPoint screen = list.viewport()->mapToGlobal(point);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, point);
    Drain();
    std::vector<unsigned> numbers;
    for (const RecordedMessage& message : parent.messages) {
        numbers.push_back(message.number);
        EXPECT_EQ(message.wParam, 0);
        EXPECT_EQ(message.lParam, nativeui::MakeLParam(screen.x(), screen.y()));
    }
    EXPECT_EQ(numbers.front(), nativeui::kWmLButtonUp);
    EXPECT_NE(std::find(numbers.begin(), numbers.end(), nativeui::kWmLButtonDblClk), numbers.end());
}

TEST_F(AListCtrlTest, DeleteRemovesTheSelectedRowAndNothingWithoutOne) {
    list.setFocus();
    list.clearSelection();
    QTest::keyClick(&list, Qt::Key_Delete);
    EXPECT_EQ(list.GetItemCount(), 3);

    list.selectRow(1);
    QTest::keyClick(&list, Qt::Key_Delete);
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemText(0), QStringLiteral("mp3"));
    EXPECT_EQ(list.GetItemText(1), QStringLiteral("aac"));
}
