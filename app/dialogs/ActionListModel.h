#pragma once
// The rows of an action list over the caller's own array: the list shows them in an order of its own
// (sorting reorders the list, never the caller's rows), and the check box of a row is the row's own
// flag, written at once. Checks made together (a menu command, "Check All") change the rows in one pass
// and report once, so that the title is written once. Derived models say what the rows are: how they
// are checked, what each cell shows and how two rows compare.

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

class ActionListModel : public QAbstractTableModel {
public:
    // What the delegate reads beyond Qt's own roles.
    enum Role {
        kImageRole = Qt::UserRole + 1, // a QImage drawn in the cell, centred unless kImageInsetRole says
        kImageInsetRole,               // the image's distance from the cell's left edge
        kSelectedForegroundRole,       // the text colour on a selected row, where not the highlight's
    };

    ActionListModel(QStringList headers, int checkColumn = 0);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void SetHeader(int column, const QString& caption);
    void SetHeaderAlignment(int column, Qt::Alignment alignment);
    int CheckColumn() const { return m_checkColumn; }

    // Shows the caller's rows again, in their own order.
    void Fill();
    // Runs after every change of checks, once per change however many rows it touched.
    void SetChecksChanged(std::function<void()> changed) { m_checksChanged = std::move(changed); }
    int CheckedCount() const { return m_checkedCount; }

    // The caller's index of the row at a list position.
    int SourceOf(int row) const { return m_order[row]; }
    bool HasCheck(int row) const { return SourceHasCheck(m_order[row]); }
    bool IsChecked(int row) const { return SourceChecked(m_order[row]); }
    void ToggleCheck(int row);
    // Checks or clears rows at list positions; rows without a check box are left alone.
    void SetChecks(const std::vector<int>& rows, bool checked);
    // Checks or clears every row of the list for which `qualifies` (given the caller's index) holds.
    void SetChecksWhere(const std::function<bool(int source)>& qualifies, bool checked);
    // Reorders the list by a column; the caller's rows keep their order.
    void Sort(int column, bool ascending);
    // The list forgets the rows for which `leaves` holds; the caller's rows stay. Checked rows stop
    // counting. The number of rows removed.
    int RemoveRowsWhere(const std::function<bool(int source)>& leaves);
    // The cells of these rows show what their rows now hold.
    void RowsEdited(const std::vector<int>& rows);

protected:
    virtual int SourceCount() const = 0;
    virtual bool SourceHasCheck(int source) const;
    virtual bool SourceChecked(int source) const = 0;
    // Writes the check into the caller's row, which may refuse it.
    virtual void WriteCheck(int source, bool checked) = 0;
    // Whether a checked row counts in CheckedCount.
    virtual bool CountsWhenChecked(int source) const;
    // The caller's rows [first, end) whose check follows the check of `source`: the row alone by default.
    virtual std::pair<int, int> CheckGroup(int source) const;
    virtual QVariant CellData(int source, int column, int role) const = 0;
    virtual int CompareSources(int a, int b, int column, bool ascending) const = 0;
    // Called after the list's order changed, before the views hear of it.
    virtual void OrderChanged() {}

    int ListRowCount() const { return static_cast<int>(m_order.size()); }
    // The caller's index of the row above a list position, or -1 for the first row.
    int SourceAbove(int row) const { return row > 0 ? m_order[row - 1] : -1; }

private:
    bool Counted(int source) const;
    void WriteGroupCheck(int source, bool checked);
    void ChecksWritten();
    void UpdatePersistentRows(const std::vector<int>& oldOrder);

    QStringList m_headers;
    std::vector<Qt::Alignment> m_headerAlignments;
    int m_checkColumn;
    std::vector<int> m_order;
    int m_checkedCount = 0;
    std::function<void()> m_checksChanged;
};
