#pragma once
// Helpers of the dialog tests (the sample rows are the gallery's): the entries of a context menu as text,
// clicks on a list's header and check boxes, the texts of a column, and a count of title changes.

#include "app/dialogs/ActionListView.h"
#include "app/dialogs/gallery/DialogScenes.h"

#include <QObject>
#include <QStringList>
#include <vector>

class QMenu;
class QWidget;

// One line per entry: "text #id", with " (greyed)" when disabled; "---" for a separator; a submenu's
// title followed by its entries indented by two blanks.
QStringList MenuLines(const QMenu& menu);

// Selects the rows; the first is the selection mark.
void SelectRows(ActionListView& view, const std::vector<int>& rows);
void ClickHeader(ActionListView& view, int column);
void ClickCell(ActionListView& view, int row, int column, QPoint offset = QPoint(-1, -1));
void ClickCheckBox(ActionListView& view, int row);
QStringList ColumnTexts(const ActionListView& view, int column);
// Drags a column's right divider in the header by `distance` pixels.
void DragDivider(ActionListView& view, int column, int distance);

// Counts the window-title changes of a widget.
class TitleChanges : public QObject {
public:
    explicit TitleChanges(QWidget& window);
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
