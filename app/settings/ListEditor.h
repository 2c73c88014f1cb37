#pragma once
// The editing of a settings page's list of texts (Apple IDs, file types, filter values): insert an
// empty item and edit it, delete the selected one, a right-click menu with "Insert Item" and "Delete
// Item", a double click that edits (or adds at the end). An edit that ends empty removes its item; a
// value already on the list, in any letter case, is refused with a message and edited again.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class AListCtrl;
class QWidget;

class ListEditor : public QObject {
public:
    static constexpr int kInsertItemCommand = 30000;
    static constexpr int kDeleteItemCommand = 30001;
    static constexpr const char* kDuplicateMessage = "That value is already on the list!";

    // `selectionChanged` is told whenever an item becomes selected or none is.
    ListEditor(AListCtrl& list, std::function<void()> selectionChanged);

    void SetTexts(const QStringList& texts);
    QStringList Texts() const;
    bool HasSelection() const;
    // An empty item before the selected item (at the end without one), being edited.
    void InsertAndEdit();
    void DeleteSelected();
    // What a double click does: edit the selected item, or add one at the end.
    void EditOrAdd();
    // The right-click menu's commands.
    void OnCommand(int commandId);
    // The right-click menu at a point of the screen.
    void ShowMenu(const QPoint& globalPosition);

private:
    void Edit(int row);
    void EditEnded(bool cancelled);
    bool IsTaken(const QString& text, int except) const;

    AListCtrl& m_list;
    std::function<void()> m_selectionChanged;
    int m_editRow = -1;
    QString m_textBefore;
};
