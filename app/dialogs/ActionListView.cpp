#include "app/dialogs/ActionListView.h"

#include "app/dialogs/ActionListModel.h"
#include "app/dialogs/ArrowHeaderCtrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace {

const QColor kGridColor(217, 217, 217);
// Each grid line lies this far left of its column's right edge.
constexpr int kGridInset = 2;

} // namespace

ActionListView::ActionListView(QWidget* parent, const ActionRowDelegate::Colors& colors,
                               ArrowHeaderCtrl* header)
    : QTableView(parent), m_header(header ? header : new ArrowHeaderCtrl(this)),
      m_delegate(new ActionRowDelegate(colors, this)) {
    setHorizontalHeader(m_header);
    m_header->setMinimumSectionSize(0);
    setItemDelegate(m_delegate);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    setShowGrid(false);
    setWordWrap(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    QObject::connect(m_header, &QHeaderView::sectionClicked, this,
                     [this](int column) { SortToggle(column); });
}

void ActionListView::SetListModel(ActionListModel* model) {
    m_model = model;
    setModel(model);
    for (int column = 0; column < model->columnCount(); ++column)
        m_header->setSectionResizeMode(column, QHeaderView::Interactive);
}

void ActionListView::SetFixedColumns(const std::set<int>& columns) {
    for (const int column : columns)
        m_header->setSectionResizeMode(column, QHeaderView::Fixed);
}

void ActionListView::SetSortableColumns(const std::set<int>& columns) {
    m_sortable = columns;
    m_allSortable = false;
}

void ActionListView::SortToggle(int column) {
    if (!m_model || (!m_allSortable && !m_sortable.count(column)))
        return;
    const bool ascending = column != m_sortColumn;
    m_model->Sort(column, ascending);
    m_sortColumn = ascending ? column : kNoSort;
    m_header->SetArrow(column, ascending);
}

void ActionListView::ClearSort() {
    m_sortColumn = kNoSort;
    m_header->SetArrow(ArrowHeaderCtrl::kNoColumn, true);
}

int ActionListView::RestOfWidth(std::initializer_list<int> excluded) const {
    int rest = viewport()->width();
    for (int column = 0; column < m_header->count(); ++column) {
        if (std::find(excluded.begin(), excluded.end(), column) == excluded.end())
            rest -= columnWidth(column);
    }
    return rest;
}

void ActionListView::ShareRestOfWidth(int first, int second, int oddPixelColumn) {
    const int rest = RestOfWidth({first, second});
    setColumnWidth(first, rest / 2);
    setColumnWidth(second, rest / 2);
    setColumnWidth(oddPixelColumn, columnWidth(oddPixelColumn) + rest % 2);
}

int ActionListView::FittingWidth(int column) const {
    return std::max(sizeHintForColumn(column), m_header->sectionSizeHint(column));
}

std::vector<int> ActionListView::SelectedRows() const {
    std::vector<int> rows;
    if (!selectionModel())
        return rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int ActionListView::SelectionMark() const {
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel() ||
        !selectionModel()->isRowSelected(current.row(), QModelIndex()))
        return -1;
    return current.row();
}

QStyleOptionViewItem ActionListView::CellOption(const QModelIndex& index) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return option;
}

bool ActionListView::TakePress(const QModelIndex& index, const QPoint& point) {
    if (!m_model || index.column() != m_model->CheckColumn())
        return false;
    if (!m_delegate->CheckBoxRect(CellOption(index), index).contains(point))
        return false;
    m_model->ToggleCheck(index.row());
    return true;
}

void ActionListView::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const QModelIndex index = indexAt(point);
    if (event->button() == Qt::LeftButton && index.isValid() && TakePress(index, point)) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void ActionListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && m_model && currentIndex().isValid()) {
        m_model->ToggleCheck(currentIndex().row());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

// The selection colour shows only while the list has the focus.
void ActionListView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update();
}

void ActionListView::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

bool ActionListView::viewportEvent(QEvent* event) {
    const bool handled = QTableView::viewportEvent(event);
    if (event->type() == QEvent::Resize && m_clientResized)
        m_clientResized();
    return handled;
}

void ActionListView::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(viewport());
        PaintBeyondRows(painter);
    }
    QTableView::paintEvent(event);
    QPainter painter(viewport());
    PaintGrid(painter);
}

QColor ActionListView::BeyondColor(int row) const {
    if (m_model && row < m_model->rowCount()) {
        const QModelIndex first = m_model->index(row, 0);
        return m_delegate->BackgroundOf(first, selectionModel()->isRowSelected(row, QModelIndex()),
                                        hasFocus());
    }
    return m_delegate->StripeOf(row);
}

// Right of the last column every row keeps its colour; below the last row the stripes go on.
void ActionListView::PaintBeyondRows(QPainter& painter) const {
    const int rows = m_model ? m_model->rowCount() : 0;
    const int firstRow = rows > 0 ? std::max(0, rowAt(0)) : 0;
    const int top = rows > 0 ? rowViewportPosition(firstRow) : 0;
    const int columnsEnd = m_header->length() - m_header->offset();
    const int width = viewport()->width();
    const int height = viewport()->height();
    for (int row = firstRow, y = top; y < height; ++row, y += kRowHeight) {
        const int left = row < rows ? std::max(0, columnsEnd) : 0;
        if (left < width)
            painter.fillRect(left, y, width - left, kRowHeight, BeyondColor(row));
    }
}

void ActionListView::PaintGrid(QPainter& painter) const {
    painter.setPen(QPen(kGridColor, 1));
    const int width = viewport()->width();
    int right = -m_header->offset();
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int column = m_header->logicalIndex(visual);
        if (m_header->isSectionHidden(column))
            continue;
        right += m_header->sectionSize(column);
        const int x = right - kGridInset;
        if (x >= width)
            break;
        painter.drawLine(x, 0, x, viewport()->height());
    }
}
