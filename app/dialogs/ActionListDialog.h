#pragma once
// What the action-list dialogs share: the window ("Execute", "Cancel", "Check All", "UnCheck All" below
// the list, laid out again on every resize, never smaller than half its opening size, with a size
// grip), the count in the title, the context menu built fresh on every right click, the wheel that
// scrolls the list wherever it turns over the dialog, and the answers: IDOK for "Execute" (or Enter),
// IDCANCEL for "Cancel", Escape or the close box. A list blocks no other window: the main window
// stays usable while a run waits on the list, and its cancel ends the list too (CancelShown).

#include "app/dialogs/CodedDialog.h"

#include <QRect>
#include <QString>
#include <functional>
#include <memory>

class ActionListView;
class QMenu;
class QPushButton;

class ActionListDialog : public CodedDialog {
public:
    // The dialog ids of the buttons.
    enum Button { kExecuteButton = 1, kCancelButton = 2, kCheckAllButton = 3, kUncheckAllButton = 4 };

    // The buttons' places, in dialog units of the template.
    struct Template {
        QRect client;
        QRect execute;
        QRect cancel;
        QRect checkAll;
        QRect uncheckAll;
        QRect list;
    };
    // The template of the sync, tool and duplicates lists.
    static const Template kListTemplate;

    // Builds, runs and ends a dialog on the GUI thread, from any thread; the worker waits for the
    // answer. True when the user pressed "Execute".
    static bool Confirm(const std::function<std::unique_ptr<ActionListDialog>()>& make);
    // Ends every list on the screen as its "Cancel" does (on the GUI thread).
    static void CancelShown();

    // The context menu at a point on the screen; null where none opens there.
    virtual std::unique_ptr<QMenu> BuildContextMenu(const QPoint& globalPoint) = 0;
    // A command of the context menu or of a button.
    virtual void OnCommand(int id) = 0;
    // The command of a menu entry.
    static int CommandOf(const QAction* action);

    QPushButton* ButtonById(int id) const;
    QSize MinimumTrackSize() const { return minimumSize(); }

protected:
    ActionListDialog(const Template& layout, int checkAllCommand, int uncheckAllCommand);

    // The list (or the pane that holds it), which the layout stretches, and the list itself, which the
    // wheel scrolls and whose columns follow its size.
    void SetListArea(QWidget* area, ActionListView* list);
    // The last step of opening: the minimum size is half the client size, then the window grows by a
    // pixel on every side, which lays it out once more.
    void FinishOpening();
    // Places the buttons and the list area by the client size; then the list's columns.
    void Layout();
    virtual void LayoutColumns() = 0;
    // Moves the list area after the buttons moved; by default it spans the width above the buttons.
    virtual void PlaceListArea(int bottom);

    // "<base> - <checked> / <rows> <things> selected" and what follows, written only when it changed.
    void WriteCountTitle(int checked, int rows, const char* things, const QString& tail = QString());
    // The window's title until the first count, and the base of every count title.
    void SetBaseTitle(const QString& title);

    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    QWidget* ListArea() const { return m_listArea; }

private:
    QPushButton* AddButton(int id, const QString& text, const QRect& units);

    QPushButton* m_execute;
    QPushButton* m_cancel;
    QPushButton* m_checkAll;
    QPushButton* m_uncheckAll;
    QWidget* m_listArea = nullptr;
    ActionListView* m_list = nullptr;
    QString m_baseTitle;
};
