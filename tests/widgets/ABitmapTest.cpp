#include "widgets/ABitmap.h"

#include "WidgetTestSupport.h"
#include "widgets/ControlMessages.h"
#include "widgets/QtText.h"
#include "widgets/Skin.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

constexpr int kWidePicture = 9001; // 61 x 31, from the tests' own pictures

class ABitmapTest : public testing::Test {
protected:
    ABitmapTest() : bitmap(1040, &parent) {}

    void Drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        // A drop reaches the widget that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&bitmap, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&bitmap, &drop);
        Drain();
    }

    MessageRecorder parent;
    ABitmap bitmap;
};

} // namespace

TEST_F(ABitmapTest, SizeToImageMovesTheEdgesItIsToldAroundItsAnchor) {
    struct Case {
        int anchor;
        int bits;
        QRect expected;
    };
    const QRect start(100, 100, 100, 50);
    const Case cases[] = {
        {ABitmap::kCentre, 3, QRect(120, 110, 61, 31)}, // (61 - 100 - 1) / 2 = -20, (31 - 50 - 1) / 2 = -10
        {ABitmap::kCentre, 1, QRect(120, 100, 61, 50)},
        {ABitmap::kTopLeft, 3, QRect(100, 100, 61, 31)},
        {ABitmap::kTopRight, 3, QRect(139, 100, 61, 31)},
        {ABitmap::kBottomLeft, 3, QRect(100, 119, 61, 31)},
        {ABitmap::kBottomRight, 2, QRect(100, 119, 100, 31)},
        {ABitmap::kStretch, 3, start},
        {9, 3, start},
    };
    bitmap.LoadImage(kWidePicture, ABitmap::kImage);
    for (const Case& c : cases) {
        bitmap.setGeometry(start);
        bitmap.SizeToImage(c.anchor, c.bits);
        EXPECT_EQ(bitmap.geometry(), c.expected) << "anchor " << c.anchor << " bits " << c.bits;
    }
}

TEST_F(ABitmapTest, AStretchedPictureFillsTheControl) {
    bitmap.LoadImage(kWidePicture, ABitmap::kImage);
    bitmap.setGeometry(0, 0, 122, 62);
    const QImage natural = DrawControl(bitmap);
    EXPECT_EQ(natural.pixel(100, 50), QColor(Qt::white).rgb());
    bitmap.SizeToImage(ABitmap::kStretch, 0);
    EXPECT_EQ(DrawControl(bitmap).pixel(121, 61), skin::Load(kWidePicture).pixel(60, 30));
}

TEST_F(ABitmapTest, ADropPostsOneMessageWithTheLocalPathsWholeAndInOrder) {
    const QString longPath =
        QStringLiteral("/music/") + QString(3000, QLatin1Char('x')) + QStringLiteral(".mp3");
    Drop({QUrl::fromLocalFile(QStringLiteral("/music/b.mp3")),
          QUrl(QStringLiteral("https://example.com/c.mp3")),
          QUrl::fromLocalFile(QStringLiteral("/music/a folder")), QUrl::fromLocalFile(longPath)});
    ASSERT_EQ(parent.messages.size(), 1u);
    const RecordedMessage& message = parent.messages[0];
    EXPECT_EQ(message.number, controlmsg::kWmAddDroppedFiles);
    EXPECT_EQ(message.lParam, reinterpret_cast<intptr_t>(&bitmap));
    ASSERT_EQ(message.paths.size(), 3u);
    EXPECT_EQ(message.paths[0], AString("/music/b.mp3"));
    EXPECT_EQ(message.paths[1], AString("/music/a folder"));
    EXPECT_EQ(message.paths[2], ToAString(longPath));
}

TEST_F(ABitmapTest, ADropWithoutLocalFilesPostsNothing) {
    Drop({QUrl(QStringLiteral("https://example.com/c.mp3"))});
    EXPECT_TRUE(parent.messages.empty());
}
