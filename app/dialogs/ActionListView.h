#pragma once
// The list of an action-list dialog over an `ActionListModel`: rows of one height in stripes that go on
// below the last row, a grid line at every column's right edge, the check box of a row toggled by a
// click on it (or Space), the arrow header and the column-click sort toggle (a first click sorts
// ascending, a second descending, a third ascending again). Fixed columns cannot be resized. Ctrl+A
// selects every row.

#include "app/dialogs/ActionRowDelegate.h"

#include <QTableView>
#include <functional>
#include <initializer_list>
#include <set>
#include <vector>

class ActionListModel;
class ArrowHeaderCtrl;

class ActionListView : public QTableView {
public:
    static constexpr int kRowHeight = 17;
    // The widths of the check box column and of an action symbol column.
    static constexpr int kCheckColumnWidth = 27;
    static constexpr int kActionColumnWidth = 76;
    static constexpr int kNoSort = -1;

    ActionListView(QWidget* parent, const ActionRowDelegate::Colors& colors,
                   ArrowHeaderCtrl* header = nullptr);

    void SetListModel(ActionListModel* model);
    ActionListModel* ListModel() const { return m_model; }
    ArrowHeaderCtrl& Header() const { return *m_header; }
    ActionRowDelegate& Delegate() const { return *m_delegate; }

    // Runs whenever the list's client area changed its size (the columns' widths follow it).
    void SetClientResized(std::function<void()> resized) { m_clientResized = std::move(resized); }

    // Columns whose width the user cannot change.
    void SetFixedColumns(const std::set<int>& columns);
    // Columns whose header click sorts; every column unless set.
    void SetSortableColumns(const std::set<int>& columns);
    // What a click on the header of a column does.
    void SortToggle(int column);
    // Forgets the sort: no arrow, and the next click sorts ascending.
    void ClearSort();
    int SortColumn() const { return m_sortColumn; }

    // The width the columns but these leave of the list's client width.
    int RestOfWidth(std::initializer_list<int> excluded) const;
    // Two columns share the rest of the width evenly; an odd pixel goes to a third column.
    void ShareRestOfWidth(int first, int second, int oddPixelColumn);
    // The width that a column's header and its widest cell need.
    int FittingWidth(int column) const;

    // The selected rows in list order.
    std::vector<int> SelectedRows() const;
    // The row that the selection was last made at, when it is selected; else -1.
    int SelectionMark() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;

    // True when the press was taken (a check box toggled); the base selects otherwise.
    virtual bool TakePress(const QModelIndex& index, const QPoint& point);
    // The background right of the columns and below the last row.
    virtual QColor BeyondColor(int row) const;
    QStyleOptionViewItem CellOption(const QModelIndex& index) const;

private:
    void PaintBeyondRows(QPainter& painter) const;
    void PaintGrid(QPainter& painter) const;

    ActionListModel* m_model = nullptr;
    ArrowHeaderCtrl* m_header;
    ActionRowDelegate* m_delegate;
    std::set<int> m_sortable;
    bool m_allSortable = true;
    int m_sortColumn = kNoSort;
    std::function<void()> m_clientResized;
};
