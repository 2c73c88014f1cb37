// Every dialog scene is painted and compared with its reference picture in references/ (written by
// `orvantis_dialog_gallery --screenshots`). Text is drawn by the system's font rasteriser, so a few
// pixels may differ a little: each channel may be off by a small amount, and a small share of pixels
// by more.

#include "app/dialogs/gallery/DialogScenes.h"

#include <QDir>
#include <gtest/gtest.h>
#include <numeric>

namespace {

constexpr int kChannelTolerance = 24;
constexpr double kDifferingShare = 0.002;

int ChannelDistance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
}

class DialogPaintReference : public testing::TestWithParam<int> {};

std::vector<int> SceneIndexes() {
    std::vector<int> indexes(DialogScenes().size());
    std::iota(indexes.begin(), indexes.end(), 0);
    return indexes;
}

} // namespace

TEST_P(DialogPaintReference, PaintsLikeItsReference) {
    const DialogScene scene = DialogScenes()[GetParam()];
    DialogSceneWindow window = scene.make();
    const QImage drawn = RenderDialog(*window.dialog).convertToFormat(QImage::Format_ARGB32);
    const QString path =
        QDir(QStringLiteral(ORVANTIS_DIALOG_REFERENCES)).filePath(scene.name + QStringLiteral(".png"));
    const QImage reference = QImage(path).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(reference.isNull()) << "no reference " << path.toStdString();
    ASSERT_EQ(drawn.size(), reference.size()) << scene.name.toStdString();
    int differing = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x)
            differing += ChannelDistance(drawn.pixel(x, y), reference.pixel(x, y)) > kChannelTolerance;
    }
    EXPECT_LE(differing, kDifferingShare * drawn.width() * drawn.height())
        << scene.name.toStdString() << ": " << differing << " pixels differ";
}

INSTANTIATE_TEST_SUITE_P(Scenes, DialogPaintReference, testing::ValuesIn(SceneIndexes()),
                         [](const testing::TestParamInfo<int>& info) {
                             return DialogScenes()[info.param].name.toStdString();
                         });
