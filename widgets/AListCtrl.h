#pragma once
// The one-column list of the settings pages: grid lines, full-row and single selection, editable
// texts, no header. Delete removes the selected rows; a left click's release and a double click reach
// the parent as WM_LBUTTONUP / WM_LBUTTONDBLCLK with the point on the screen (x low word, y high word).

#include <QString>
#include <QTableWidget>

class AListCtrl : public QTableWidget {
public:
    AListCtrl(int id, QWidget* parent);

    int Id() const { return m_id; }
    void InsertItem(int row, const QString& text);
    QString GetItemText(int row) const;
    int GetItemCount() const { return rowCount(); }
    void DeleteItem(int row) { removeRow(row); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void DeleteSelectedRows();
    void PostClick(unsigned number, const QMouseEvent& event) const;

    int m_id;
};
