#include "widgets/ABar.h"

#include "WidgetTestSupport.h"
#include "widgets/Skin.h"

#include <gtest/gtest.h>

TEST(ABarTest, APictureFillsTheBarBetweenTwoDarkEdgesAndWinsOverAColour) {
    QWidget parent;
    ABar bar(3010, &parent);
    bar.resize(40, 20);
    EXPECT_EQ(DrawControl(bar, Qt::green).pixel(20, 10), QColor(Qt::green).rgb()) << "nothing to draw";

    bar.SetColor(0x009B9B9B);
    EXPECT_EQ(DrawControl(bar).pixel(20, 0), QColor(0x9B, 0x9B, 0x9B).rgb());

    bar.SetBitmap(skin::kBarFill);
    const QImage drawn = DrawControl(bar);
    EXPECT_EQ(drawn.pixel(20, 0), QColor(0x66, 0x66, 0x66).rgb());
    EXPECT_EQ(drawn.pixel(20, 19), QColor(0x66, 0x66, 0x66).rgb());
    EXPECT_EQ(drawn.pixel(20, 10), skin::Load(skin::kBarFill).pixel(0, 3));
}
