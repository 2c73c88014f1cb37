#include "widgets/AMenu.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

// The fill of an item drawn in a state, at its top-left corner (no text there).
QRgb FillOf(const AMenu& menu, unsigned state) {
    QImage image(60, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    menu.DrawItem(painter, image.rect(), QStringLiteral("File"), state | AMenu::kNoAccelerator);
    return image.pixel(1, 1);
}

} // namespace

TEST(AMenuTest, SetColorsChangesOnlyTheBrushesItIsGiven) {
    AMenu menu;
    const QRgb normal = FillOf(menu, 0);
    const QRgb selected = FillOf(menu, AMenu::kSelected);
    EXPECT_EQ(normal, QColor(0xC5, 0xC5, 0xC4).rgb());
    EXPECT_EQ(FillOf(menu, AMenu::kHotLight), QColor(0x85, 0x85, 0x85).rgb());
    EXPECT_EQ(selected, QColor(0x67, 0x67, 0x67).rgb());

    menu.SetColors(kKeepColor, 0x00FF0000, kKeepColor);
    EXPECT_EQ(FillOf(menu, 0), normal);
    EXPECT_EQ(FillOf(menu, AMenu::kHotLight), QColor(Qt::blue).rgb());
    EXPECT_EQ(FillOf(menu, AMenu::kSelected), selected);
}

TEST(AMenuTest, TheFirstCharacterIsUnderlinedUnlessAcceleratorsAreHidden) {
    AMenu menu;
    const auto draw = [&](unsigned state) {
        QImage image(60, 24, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        menu.DrawItem(painter, image.rect(), QStringLiteral("File"), state);
        return image;
    };
    EXPECT_NE(draw(0), draw(AMenu::kNoAccelerator));
}
