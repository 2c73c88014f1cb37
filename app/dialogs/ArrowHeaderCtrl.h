#pragma once
// The header of an action list: it shows which column the list is sorted by, and in which direction,
// with a small triangle after the column's caption.

#include <QHeaderView>

class ArrowHeaderCtrl : public QHeaderView {
public:
    static constexpr int kNoColumn = -1;

    explicit ArrowHeaderCtrl(QWidget* parent);

    // Puts the arrow on a column (kNoColumn takes it away) and repaints.
    void SetArrow(int column, bool ascending);
    int ArrowColumn() const { return m_column; }
    bool ArrowAscending() const { return m_ascending; }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    void DrawArrow(QPainter& painter, const QRect& rect, int logicalIndex) const;

    int m_column = kNoColumn;
    bool m_ascending = true;
};
