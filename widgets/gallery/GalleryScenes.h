#pragma once
// Every widget of the toolkit in each of its states, each on a panel of the skin: the gallery shows
// them, writes them as screenshots, and the paint tests compare them with their reference pictures.

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

struct GalleryScene {
    QString name;
    std::function<std::unique_ptr<QWidget>()> make;
};

std::vector<GalleryScene> GalleryScenes();

// The scene as it paints, offscreen.
QImage RenderScene(QWidget& scene);
