#pragma once
// Every action-list dialog and the playlist selection with sample rows: the gallery writes them as
// screenshots, and the paint tests compare them with their reference pictures.

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

// A dialog and the rows it shows, which outlive it.
struct DialogSceneWindow {
    std::shared_ptr<void> rows;
    std::unique_ptr<QWidget> dialog;
};

struct DialogScene {
    QString name;
    std::function<DialogSceneWindow()> make;
};

std::vector<DialogScene> DialogScenes();

// The dialog's client area as it paints, offscreen.
QImage RenderDialog(QWidget& dialog);
