#include "widgets/AListCtrl.h"

#include "platform/ui/PrivateMessage.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/ControlId.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <vector>

AListCtrl::AListCtrl(int id, QWidget* parent) : QTableWidget(0, 1, parent), m_id(id) {
    SetControlId(*this, id);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
}

void AListCtrl::InsertItem(int row, const QString& text) {
    insertRow(row);
    setItem(row, 0, new QTableWidgetItem(text));
}

QString AListCtrl::GetItemText(int row) const {
    const QTableWidgetItem* cell = item(row, 0);
    return cell ? cell->text() : QString();
}

void AListCtrl::DeleteSelectedRows() {
    // The rows selected when the key was pressed; removing one must not select the next.
    std::vector<int> rows;
    for (const QModelIndex& row : selectionModel()->selectedRows())
        rows.push_back(row.row());
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (int row : rows)
        removeRow(row);
}

void AListCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete)
        DeleteSelectedRows();
    QTableWidget::keyPressEvent(event);
}

void AListCtrl::PostClick(unsigned number, const QMouseEvent& event) const {
    const QPoint screen = viewport()->mapToGlobal(event.position().toPoint());
    nativeui::PrivateMessage::Post(parentWidget(), number, 0, nativeui::MakeLParam(screen.x(), screen.y()));
}

void AListCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        PostClick(nativeui::kWmLButtonUp, *event);
    QTableWidget::mouseReleaseEvent(event);
}

void AListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        PostClick(nativeui::kWmLButtonDblClk, *event);
    QTableWidget::mouseDoubleClickEvent(event);
}
