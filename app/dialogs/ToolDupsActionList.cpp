#include "app/dialogs/ToolDupsActionList.h"

#include "app/dialogs/DialogPictures.h"
#include "app/dialogs/DuplicatesListModel.h"

namespace {

const ActionRowDelegate::Colors kColors{QColor(237, 243, 254)};

} // namespace

ToolDupsActionList::ToolDupsActionList(QWidget* parent) : ActionListView(parent, kColors) {}

void ToolDupsActionList::SetDuplicatesModel(DuplicatesListModel* model) {
    m_duplicates = model;
    SetListModel(model);
}

bool ToolDupsActionList::InPicture(const QModelIndex& index, const QPoint& point) const {
    const QRect cell = visualRect(index);
    const QVariant inset = index.data(ActionListModel::kImageInsetRole);
    const int left = inset.isValid() ? cell.left() + inset.toInt()
                                     : cell.left() + (cell.width() - dialogpictures::kSheetCell) / 2;
    return point.x() >= left && point.x() < left + dialogpictures::kSheetCell;
}

// A click on the check box of a row that continues a group, or on a radio of an unchecked group, selects
// as any other click does.
bool ToolDupsActionList::TakePress(const QModelIndex& index, const QPoint& point) {
    if (!m_duplicates || !InPicture(index, point))
        return false;
    if (index.column() == DuplicatesListModel::kCheckColumn && m_duplicates->StartsGroup(index.row())) {
        m_duplicates->ToggleCheck(index.row());
        return true;
    }
    if (index.column() == DuplicatesListModel::kKeepColumn)
        return m_duplicates->KeepRow(index.row());
    return false;
}

QColor ToolDupsActionList::BeyondColor(int row) const {
    const int rows = m_duplicates ? m_duplicates->rowCount() : 0;
    if (row < rows || rows == 0)
        return ActionListView::BeyondColor(row);
    const QColor last = m_duplicates->index(rows - 1, 0).data(Qt::BackgroundRole).value<QColor>();
    const bool sameAsLast = (row - rows) % 2 == 1;
    const QColor& stripe = Delegate().GetColors().evenRows;
    const QColor& other = Delegate().GetColors().oddRows;
    if (sameAsLast)
        return last;
    return last == stripe ? other : stripe;
}
