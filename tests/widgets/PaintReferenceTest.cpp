// Every gallery scene is painted and compared with its reference picture in references/ (written by
// `orvantis_gallery --screenshots`).

#include "WidgetTestSupport.h"
#include "widgets/gallery/GalleryScenes.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

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
    const QString path =
        QDir(QStringLiteral(ORVANTIS_WIDGET_REFERENCES)).filePath(scene.name + QStringLiteral(".png"));
    ExpectPaintsLikeReference(RenderScene(*widget), path);
}

INSTANTIATE_TEST_SUITE_P(Scenes, PaintReferenceTest, testing::ValuesIn(SceneIndexes()),
                         [](const testing::TestParamInfo<int>& info) {
                             return GalleryScenes()[info.param].name.toStdString();
                         });
