#include "app/settings/ListEditor.h"

#include "widgets/AListCtrl.h"
#include "widgets/MessageBox.h"

#include <QAbstractItemDelegate>
#include <QMenu>
#include <QTimer>

ListEditor::ListEditor(AListCtrl& list, std::function<void()> selectionChanged)
    : QObject(&list), m_list(list), m_selectionChanged(std::move(selectionChanged)) {
    m_list.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& point) { ShowMenu(m_list.viewport()->mapToGlobal(point)); });
    connect(&m_list, &QTableWidget::itemSelectionChanged, this, [this] { m_selectionChanged(); });
    connect(m_list.itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
                EditEnded(hint == QAbstractItemDelegate::RevertModelCache);
            });
}

void ListEditor::SetTexts(const QStringList& texts) {
    m_list.setRowCount(0);
    for (const QString& text : texts)
        m_list.InsertItem(m_list.GetItemCount(), text);
}

QStringList ListEditor::Texts() const {
    QStringList texts;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        texts.append(m_list.GetItemText(row));
    return texts;
}

bool ListEditor::HasSelection() const {
    return m_list.currentRow() >= 0 && !m_list.selectedItems().isEmpty();
}

void ListEditor::InsertAndEdit() {
    const int row = HasSelection() ? m_list.currentRow() : m_list.GetItemCount();
    m_list.InsertItem(row, QString());
    Edit(row);
}

void ListEditor::DeleteSelected() {
    if (HasSelection())
        m_list.DeleteItem(m_list.currentRow());
    m_selectionChanged();
}

void ListEditor::EditOrAdd() {
    if (HasSelection()) {
        Edit(m_list.currentRow());
        return;
    }
    m_list.InsertItem(m_list.GetItemCount(), QString());
    Edit(m_list.GetItemCount() - 1);
}

void ListEditor::OnCommand(int commandId) {
    if (commandId == kInsertItemCommand)
        InsertAndEdit();
    else if (commandId == kDeleteItemCommand)
        DeleteSelected();
}

void ListEditor::ShowMenu(const QPoint& globalPosition) {
    QMenu menu(&m_list);
    menu.addAction(QStringLiteral("Insert Item"))->setData(kInsertItemCommand);
    if (HasSelection())
        menu.addAction(QStringLiteral("Delete Item"))->setData(kDeleteItemCommand);
    if (QAction* chosen = menu.exec(globalPosition))
        OnCommand(chosen->data().toInt());
}

void ListEditor::Edit(int row) {
    m_editRow = row;
    m_textBefore = m_list.GetItemText(row);
    m_list.setCurrentCell(row, 0);
    m_list.editItem(m_list.item(row, 0));
}

void ListEditor::EditEnded(bool cancelled) {
    const int row = m_editRow;
    m_editRow = -1;
    if (row < 0 || row >= m_list.GetItemCount())
        return;
    const QString text = m_list.GetItemText(row);
    if ((cancelled && m_textBefore.isEmpty()) || text.isEmpty()) {
        m_list.DeleteItem(row);
        m_selectionChanged();
        return;
    }
    if (cancelled || !IsTaken(text, row))
        return;
    m_list.item(row, 0)->setText(m_textBefore);
    messagebox::Show(m_list.window(), QLatin1String(kDuplicateMessage));
    // The editor closes only after this signal: the item is edited again once it has.
    QTimer::singleShot(0, this, [this, row] { Edit(row); });
}

bool ListEditor::IsTaken(const QString& text, int except) const {
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        if (row != except && m_list.GetItemText(row).compare(text, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}
