// The gallery: every widget of the toolkit in each of its states.
//   orvantis_gallery                    shows them in a window
//   orvantis_gallery --screenshots DIR  writes one PNG per state into DIR (offscreen)

#include "widgets/gallery/GalleryScenes.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QStyleFactory>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kColumns = 6;

int WriteScreenshots(const QString& folder) {
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(folder));
        return 1;
    }
    for (const GalleryScene& scene : GalleryScenes()) {
        std::unique_ptr<QWidget> widget = scene.make();
        const QString path = QDir(folder).filePath(scene.name + QStringLiteral(".png"));
        if (!RenderScene(*widget).save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}

int ShowGallery(QApplication& application) {
    QScrollArea window;
    auto* grid = new QWidget;
    auto* layout = new QGridLayout(grid);
    std::vector<std::unique_ptr<QWidget>> scenes;
    int cell = 0;
    for (const GalleryScene& scene : GalleryScenes()) {
        std::unique_ptr<QWidget> widget = scene.make();
        auto* picture = new QLabel(grid);
        picture->setPixmap(QPixmap::fromImage(RenderScene(*widget)));
        picture->setToolTip(scene.name);
        layout->addWidget(picture, cell / kColumns, cell % kColumns);
        scenes.push_back(std::move(widget));
        ++cell;
    }
    window.setWidget(grid);
    window.setWindowTitle(QStringLiteral("Orvantis widget gallery"));
    window.resize(1000, 700);
    window.show();
    return application.exec();
}

} // namespace

int main(int argc, char** argv) {
    const bool screenshots = argc == 3 && std::strcmp(argv[1], "--screenshots") == 0;
    if (screenshots && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (screenshots)
        return WriteScreenshots(QString::fromLocal8Bit(argv[2]));
    if (argc != 1) {
        std::fprintf(stderr, "usage: %s [--screenshots DIR]\n", argv[0]);
        return 2;
    }
    return ShowGallery(application);
}
