// Every gallery scene is painted and compared with its reference picture in references/ (written by
// `orvantis_gallery --screenshots`). Text is drawn by the system's font rasteriser, so a few pixels may
// differ a little: each channel may be off by a small amount, and a small share of pixels by more.

#include "widgets/gallery/GalleryScenes.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

constexpr int kChannelTolerance = 24;
constexpr double kDifferingShare = 0.002;

struct Difference {
    int pixels = 0;
    int worst = 0;
};

Difference Compare(const QImage& drawn, const QImage& reference) {
    Difference difference;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb a = drawn.pixel(x, y);
            const QRgb b = reference.pixel(x, y);
            const int channel = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                          std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
            difference.worst = std::max(difference.worst, channel);
            difference.pixels += channel > kChannelTolerance;
        }
    }
    return difference;
}

class PaintReferenceTest : public testing::TestWithParam<int> {};

std::vector<int> SceneIndexes() {
    std::vector<int> indexes(GalleryScenes().size());
    std::iota(indexes.begin(), indexes.end(), 0);
    return indexes;
}

} // namespace

TEST_P(PaintReferenceTest, PaintsLikeItsReference) {
    const GalleryScene scene = GalleryScenes()[GetParam()];
    std::unique_ptr<QWidget> widget = scene.make();
    const QImage drawn = RenderScene(*widget).convertToFormat(QImage::Format_ARGB32);
    const QString path =
        QDir(QStringLiteral(ORVANTIS_WIDGET_REFERENCES)).filePath(scene.name + QStringLiteral(".png"));
    const QImage reference = QImage(path).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(reference.isNull()) << "no reference " << path.toStdString();
    ASSERT_EQ(drawn.size(), reference.size()) << scene.name.toStdString();
    const Difference difference = Compare(drawn, reference);
    EXPECT_LE(difference.pixels, kDifferingShare * drawn.width() * drawn.height())
        << scene.name.toStdString() << ": " << difference.pixels << " pixels differ, by up to "
        << difference.worst;
}

INSTANTIATE_TEST_SUITE_P(Scenes, PaintReferenceTest, testing::ValuesIn(SceneIndexes()),
                         [](const testing::TestParamInfo<int>& info) {
                             return GalleryScenes()[info.param].name.toStdString();
                         });
