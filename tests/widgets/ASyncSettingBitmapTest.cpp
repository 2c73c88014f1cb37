#include "widgets/ASyncSettingBitmap.h"

#include "WidgetTestSupport.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/Skin.h"
#include "widgets/ToolkitFonts.h"

#include <QFontMetrics>
#include <QMenu>
#include <QTest>
#include <QWidgetAction>
#include <gtest/gtest.h>

namespace {

const ASyncSettingBitmap::ModeNames kNames = {
    QStringLiteral("Sync iTunes and iPod"),      QStringLiteral("Merge iTunes and iPod"),
    QStringLiteral("Copy iTunes to iPod"),       QStringLiteral("Copy iPod to iTunes"),
    QStringLiteral("Make iPod equal to iTunes"), QStringLiteral("Make iTunes equal to iPod")};

class ASyncSettingBitmapTest : public testing::Test {
protected:
    ASyncSettingBitmapTest() : picture(1012, &parent) {
        parent.setFont(toolkitfonts::Tahoma13());
        picture.setGeometry(100, 100, 60, 20);
        picture.SetModeNames([this] { return names; });
        parent.show();
        Drain();
    }

    // Dark pixels in the caption's rows, below the setting picture.
    int CaptionInk() {
        const QImage image = DrawControl(picture);
        int ink = 0;
        for (int y = 26; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                ink += qGray(image.pixel(x, y)) < 128;
        }
        return ink;
    }

    ASyncSettingBitmap::ModeNames names = kNames;
    MessageRecorder parent;
    ASyncSettingBitmap picture;
};

} // namespace

TEST_F(ASyncSettingBitmapTest, SettingsOutsideTheEightBecomeNone) {
    EXPECT_EQ(picture.GetSetting(), 6);
    for (const auto& [given, kept] : {std::pair{3, 3}, {7, 7}, {9, 6}, {-1, 6}, {8, 6}}) {
        picture.SetSetting(given);
        EXPECT_EQ(picture.GetSetting(), kept) << given;
    }
}

TEST_F(ASyncSettingBitmapTest, ThePictureLayoutRecentresAndIsAtLeastPictureAndArrowWide) {
    names = {}; // no names: the pictures alone decide the width
    picture.SetLayout(ASyncSettingBitmap::kPictureLayout);
    const int height = QFontMetrics(parent.font()).height() + 26;
    EXPECT_EQ(picture.geometry(), QRect(100 - (117 - 60) / 2, 100 - (height - 20) / 2, 117, height));

    names = kNames;
    picture.setGeometry(100, 100, 60, 20);
    picture.SetLayout(ASyncSettingBitmap::kPictureLayout);
    const int widest = QFontMetrics(parent.font()).horizontalAdvance(kNames[5]);
    ASSERT_GT(widest, 117);
    EXPECT_EQ(picture.width(), widest);
    EXPECT_EQ(picture.geometry().left(), 100 - (widest - 60) / 2);
}

TEST_F(ASyncSettingBitmapTest, APickPostsItsCommandAndLeavesTheSettingToTheParent) {
    picture.SetLayout(ASyncSettingBitmap::kPictureLayout);
    picture.SetSetting(1);
    QTest::mouseClick(&picture, Qt::LeftButton, {}, QPoint(20, 10));
    QMenu* popup = picture.Popup();
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(popup->actions().size(), 6);
    auto* item = static_cast<QWidgetAction*>(popup->actions()[4])->defaultWidget();
    QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(5, 5));
    Drain();
    ASSERT_EQ(parent.messages.size(), 1u);
    EXPECT_EQ(parent.messages[0].number, nativeui::kWmCommand);
    EXPECT_EQ(parent.messages[0].wParam, 2024 + 4);
    EXPECT_EQ(picture.GetSetting(), 1);
    EXPECT_FALSE(popup->isVisible());
}

TEST_F(ASyncSettingBitmapTest, HoveringShowsTheHotArrowAndUnderlinesTheName) {
    picture.SetLayout(ASyncSettingBitmap::kPictureLayout);
    picture.SetSetting(2);
    const QImage plain = DrawControl(picture);
    QTest::mouseMove(&picture, QPoint(10, 10));
    const QImage hot = DrawControl(picture);
    EXPECT_GT(CaptionInk(), 0);
    const int arrowX = (picture.width() - 16 - 101) / 2 + 101 + 8;
    EXPECT_NE(plain.pixel(arrowX, 11), hot.pixel(arrowX, 11)) << "hot arrow";
    int underlined = 0;
    for (int y = 26; y < hot.height(); ++y)
        underlined += hot.pixel(picture.width() / 2, y) != plain.pixel(picture.width() / 2, y);
    EXPECT_GE(underlined, 1);
}

TEST_F(ASyncSettingBitmapTest, SettingsWithoutANameShowNoCaption) {
    picture.SetLayout(ASyncSettingBitmap::kPictureLayout);
    for (int setting : {6, 7}) {
        picture.SetSetting(setting);
        EXPECT_EQ(CaptionInk(), 0) << setting;
    }
    picture.SetSetting(5);
    EXPECT_GT(CaptionInk(), 0);
}
