#include "widgets/AStatic.h"

#include "WidgetTestSupport.h"
#include "widgets/TextFormat.h"
#include "widgets/ToolkitFonts.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

// The first and last rows that hold text pixels, or {-1, -1}.
std::pair<int, int> InkRows(const QImage& image) {
    int first = -1;
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
        }
    }
    return {first, last};
}

} // namespace

TEST(AStaticTest, WrappedTextTwiceAsWideAsTheControlIsTwoLinesCentredVertically) {
    QWidget parent;
    const QFontMetrics metrics(toolkitfonts::Tahoma13());
    const QString text = QStringLiteral("word word word word word word word word");
    const int width = metrics.horizontalAdvance(text) / 2 + 8;
    AStatic label(1042, &parent, text);
    label.resize(width, 100);
    label.SetTextFormat(textformat::kCenteredWords);
    const auto [first, last] = InkRows(DrawControl(label));
    ASSERT_GE(first, 0);
    EXPECT_GT(last - first, metrics.height()) << "two lines";
    EXPECT_LT(last - first, 2 * metrics.height());
    EXPECT_NEAR(first, 100 - 1 - last, metrics.height() / 2) << "as much room above as below";
}

TEST(AStaticTest, ASingleCentredLineIgnoresWordBreaks) {
    QWidget parent;
    AStatic label(1042, &parent, QStringLiteral("Start Now"));
    label.resize(200, 60);
    label.SetTextFormat(textformat::kCenteredLine);
    const auto [first, last] = InkRows(DrawControl(label));
    EXPECT_NEAR((first + last) / 2.0, 30, 3);
}
