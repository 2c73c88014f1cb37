#include "app/dialogs/ActionListModel.h"

#include <algorithm>

ActionListModel::ActionListModel(QStringList headers, int checkColumn)
    : m_headers(std::move(headers)), m_headerAlignments(m_headers.size(), Qt::AlignLeft | Qt::AlignVCenter),
      m_checkColumn(checkColumn) {}

int ActionListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ListRowCount();
}

int ActionListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant ActionListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= ListRowCount())
        return {};
    const int source = m_order[index.row()];
    if (role == Qt::CheckStateRole) {
        if (index.column() != m_checkColumn || !SourceHasCheck(source))
            return {};
        return SourceChecked(source) ? Qt::Checked : Qt::Unchecked;
    }
    return CellData(source, index.column(), role);
}

bool ActionListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != m_checkColumn)
        return false;
    SetChecks({index.row()}, value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

Qt::ItemFlags ActionListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QVariant ActionListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_headers.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_headers[section];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_headerAlignments[section]);
    return {};
}

void ActionListModel::SetHeader(int column, const QString& caption) {
    m_headers[column] = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void ActionListModel::SetHeaderAlignment(int column, Qt::Alignment alignment) {
    m_headerAlignments[column] = alignment | Qt::AlignVCenter;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

bool ActionListModel::SourceHasCheck(int) const {
    return true;
}

bool ActionListModel::CountsWhenChecked(int) const {
    return true;
}

std::pair<int, int> ActionListModel::CheckGroup(int source) const {
    return {source, source + 1};
}

bool ActionListModel::Counted(int source) const {
    return SourceHasCheck(source) && SourceChecked(source) && CountsWhenChecked(source);
}

void ActionListModel::Fill() {
    beginResetModel();
    const int count = SourceCount();
    m_order.resize(count);
    m_checkedCount = 0;
    for (int source = 0; source < count; ++source) {
        m_order[source] = source;
        m_checkedCount += Counted(source);
    }
    OrderChanged();
    endResetModel();
    if (m_checksChanged)
        m_checksChanged();
}

void ActionListModel::WriteGroupCheck(int source, bool checked) {
    const auto [first, end] = CheckGroup(source);
    for (int member = first; member < end; ++member) {
        if (!SourceHasCheck(member))
            continue;
        const bool before = Counted(member);
        WriteCheck(member, checked);
        m_checkedCount += static_cast<int>(Counted(member)) - static_cast<int>(before);
    }
}

void ActionListModel::ChecksWritten() {
    if (!m_order.empty())
        emit dataChanged(index(0, 0), index(ListRowCount() - 1, columnCount() - 1));
    if (m_checksChanged)
        m_checksChanged();
}

void ActionListModel::ToggleCheck(int row) {
    if (row < 0 || row >= ListRowCount() || !HasCheck(row))
        return;
    SetChecks({row}, !IsChecked(row));
}

void ActionListModel::SetChecks(const std::vector<int>& rows, bool checked) {
    for (const int row : rows) {
        if (row >= 0 && row < ListRowCount())
            WriteGroupCheck(m_order[row], checked);
    }
    ChecksWritten();
}

void ActionListModel::SetChecksWhere(const std::function<bool(int source)>& qualifies, bool checked) {
    for (const int source : m_order) {
        if (qualifies(source))
            WriteGroupCheck(source, checked);
    }
    ChecksWritten();
}

void ActionListModel::Sort(int column, bool ascending) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<int> oldOrder = m_order;
    std::stable_sort(m_order.begin(), m_order.end(),
                     [&](int a, int b) { return CompareSources(a, b, column, ascending) < 0; });
    UpdatePersistentRows(oldOrder);
    OrderChanged();
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// Selections and the current row follow their rows to the new places.
void ActionListModel::UpdatePersistentRows(const std::vector<int>& oldOrder) {
    const QModelIndexList before = persistentIndexList();
    if (before.isEmpty())
        return;
    std::vector<int> newRowOfSource(SourceCount(), -1);
    for (int row = 0; row < ListRowCount(); ++row)
        newRowOfSource[m_order[row]] = row;
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before)
        after.append(index(newRowOfSource[oldOrder[old.row()]], old.column()));
    changePersistentIndexList(before, after);
}

int ActionListModel::RemoveRowsWhere(const std::function<bool(int source)>& leaves) {
    std::vector<int> kept;
    kept.reserve(m_order.size());
    int uncounted = 0;
    for (const int source : m_order) {
        if (!leaves(source))
            kept.push_back(source);
        else
            uncounted += Counted(source);
    }
    const int removed = ListRowCount() - static_cast<int>(kept.size());
    if (removed == 0)
        return 0;
    beginResetModel();
    m_order = std::move(kept);
    m_checkedCount -= uncounted;
    OrderChanged();
    endResetModel();
    if (m_checksChanged)
        m_checksChanged();
    return removed;
}

void ActionListModel::RowsEdited(const std::vector<int>& rows) {
    for (const int row : rows) {
        if (row >= 0 && row < ListRowCount())
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
}
