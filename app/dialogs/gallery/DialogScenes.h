#pragma once
// Every action-list dialog and the playlist selection with sample rows: the gallery writes them as
// screenshots, and the paint tests compare them with their reference pictures.

#include "sync/SyncAction.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class ASync;

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

// Sample rows, which the scenes and the tests share.
SyncAction SampleAction(uint32_t code, uint32_t displayIndex, uint32_t enabled, const char* text1 = "",
                        const char* text2 = "", uint32_t fieldsOnly = 0);
std::vector<SyncAction*> PointersTo(std::vector<SyncAction>& actions);
// A song sync of that direction and delete mode that holds the actions.
std::unique_ptr<ASync> SampleSongSync(uint32_t direction, uint32_t deleteMode,
                                      std::vector<SyncAction> actions);

// The dialog's client area as it paints, offscreen.
QImage RenderDialog(QWidget& dialog);
