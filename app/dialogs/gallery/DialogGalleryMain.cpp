// Shows every action-list dialog with sample rows, or with --screenshots DIR writes each as a PNG file
// (the paint references in tests/app/dialogs/references/). Dates are shown in UTC.

#include "app/dialogs/gallery/DialogScenes.h"

#include <QApplication>
#include <QDir>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    setenv("TZ", "UTC", 1);
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QStringList arguments = QApplication::arguments();
    const int screenshots = arguments.indexOf(QStringLiteral("--screenshots"));
    if (screenshots < 0) {
        std::vector<DialogSceneWindow> windows;
        for (const DialogScene& scene : DialogScenes()) {
            windows.push_back(scene.make());
            windows.back().dialog->setWindowModality(Qt::NonModal);
            windows.back().dialog->show();
        }
        return QApplication::exec();
    }
    if (screenshots + 1 >= arguments.size()) {
        std::fprintf(stderr, "usage: %s [--screenshots DIR]\n", argv[0]);
        return 2;
    }
    const QDir folder(arguments[screenshots + 1]);
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(folder.path()));
        return 1;
    }
    for (const DialogScene& scene : DialogScenes()) {
        DialogSceneWindow window = scene.make();
        const QString path = folder.filePath(scene.name + QStringLiteral(".png"));
        if (!RenderDialog(*window.dialog).save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
