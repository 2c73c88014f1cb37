#pragma once
// Draws the cells of an action list: the row's stripe (or its own background, or the selection colour
// while the list has the focus), the check box of the check column, the cell's picture and its text in
// the row's colour.

#include <QColor>
#include <QStyledItemDelegate>

class ActionRowDelegate : public QStyledItemDelegate {
public:
    struct Colors {
        QColor evenRows;
        QColor oddRows = QColor(255, 255, 255);
        QColor selection = QColor(49, 106, 197);
        // A selected row shows the selection colour only while the list has the focus.
        bool selectionNeedsFocus = true;
        // The check box is the check sheet's picture rather than the system's.
        bool sheetCheckBox = false;
    };
    static constexpr int kTextInset = 6;

    ActionRowDelegate(const Colors& colors, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where the row's check box is drawn in the cell; empty where the cell shows none.
    QRect CheckBoxRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    // The stripe of a list row, whether it has a row or lies below the last one.
    QColor StripeOf(int row) const;
    // The background a row's cells show.
    QColor BackgroundOf(const QModelIndex& index, bool selected, bool focused) const;
    const Colors& GetColors() const { return m_colors; }

private:
    void DrawCheckBox(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void DrawImage(QPainter& painter, const QRect& cell, const QModelIndex& index) const;
    void DrawText(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index,
                  bool highlighted) const;

    Colors m_colors;
};
