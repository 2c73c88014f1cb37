// Every dialog scene is painted and compared with its reference picture in references/ (written by
// `orvantis_dialog_gallery --screenshots`).

#include "WidgetTestSupport.h"
#include "app/dialogs/gallery/DialogScenes.h"

#include <QDir>
#include <gtest/gtest.h>
#include <numeric>

namespace {

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
    const QString path =
        QDir(QStringLiteral(ORVANTIS_DIALOG_REFERENCES)).filePath(scene.name + QStringLiteral(".png"));
    ExpectPaintsLikeReference(RenderDialog(*window.dialog), path);
}

INSTANTIATE_TEST_SUITE_P(Scenes, DialogPaintReference, testing::ValuesIn(SceneIndexes()),
                         [](const testing::TestParamInfo<int>& info) {
                             return DialogScenes()[info.param].name.toStdString();
                         });
