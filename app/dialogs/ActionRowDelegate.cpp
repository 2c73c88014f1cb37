#include "app/dialogs/ActionRowDelegate.h"

#include "app/dialogs/ActionListModel.h"
#include "app/dialogs/DialogPictures.h"
#include "widgets/ColorRef.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>

namespace {

constexpr int kRowHeight = 17;

bool ListHasFocus(const QStyleOptionViewItem& option) {
    return option.widget && option.widget->hasFocus();
}

} // namespace

ActionRowDelegate::ActionRowDelegate(const Colors& colors, QObject* parent)
    : QStyledItemDelegate(parent), m_colors(colors) {}

// As wide as the cell's text and picture need; every row of one height.
QSize ActionRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QString text = index.data(Qt::DisplayRole).toString();
    const int textWidth = text.isEmpty() ? 0 : option.fontMetrics.horizontalAdvance(text) + 2 * kTextInset;
    const int imageWidth = index.data(ActionListModel::kImageRole).value<QImage>().width();
    return QSize(std::max(textWidth, imageWidth), kRowHeight);
}

QColor ActionRowDelegate::StripeOf(int row) const {
    return row % 2 == 0 ? m_colors.evenRows : m_colors.oddRows;
}

QColor ActionRowDelegate::BackgroundOf(const QModelIndex& index, bool selected, bool focused) const {
    if (selected && (focused || !m_colors.selectionNeedsFocus))
        return m_colors.selection;
    const QVariant own = index.data(Qt::BackgroundRole);
    return own.isValid() ? own.value<QColor>() : StripeOf(index.row());
}

void ActionRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const bool focused = ListHasFocus(option);
    const QColor background = BackgroundOf(index, selected, focused);
    painter->fillRect(option.rect, background);
    DrawCheckBox(*painter, option, index);
    DrawImage(*painter, option.rect, index);
    DrawText(*painter, option, index, background == m_colors.selection);
}

QRect ActionRowDelegate::CheckBoxRect(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (!index.data(Qt::CheckStateRole).isValid())
        return {};
    QSize size(dialogpictures::kSheetCell, dialogpictures::kSheetCell);
    if (!m_colors.sheetCheckBox) {
        const QWidget* widget = option.widget;
        const QStyle* style = widget ? widget->style() : QApplication::style();
        size = QSize(style->pixelMetric(QStyle::PM_IndicatorWidth, &option, widget),
                     style->pixelMetric(QStyle::PM_IndicatorHeight, &option, widget));
    }
    QRect box(QPoint(0, 0), size);
    box.moveCenter(option.rect.center());
    return box;
}

void ActionRowDelegate::DrawCheckBox(QPainter& painter, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    const QRect box = CheckBoxRect(option, index);
    if (box.isEmpty())
        return;
    const bool checked = index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
    if (m_colors.sheetCheckBox) {
        painter.drawImage(box.topLeft(), dialogpictures::SheetImage(dialogpictures::kSheetCheckBox, checked));
        return;
    }
    QStyleOptionViewItem check(option);
    check.rect = box;
    check.state = (option.state & QStyle::State_Enabled) | (checked ? QStyle::State_On : QStyle::State_Off);
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, &painter, widget);
}

void ActionRowDelegate::DrawImage(QPainter& painter, const QRect& cell, const QModelIndex& index) const {
    const QImage image = index.data(ActionListModel::kImageRole).value<QImage>();
    if (image.isNull())
        return;
    const QVariant inset = index.data(ActionListModel::kImageInsetRole);
    const int left =
        inset.isValid() ? cell.left() + inset.toInt() : cell.left() + (cell.width() - image.width()) / 2;
    const int top = cell.top() + (cell.height() - image.height()) / 2;
    painter.save();
    painter.setClipRect(cell);
    painter.drawImage(left, top, image);
    painter.restore();
}

void ActionRowDelegate::DrawText(QPainter& painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index, bool highlighted) const {
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return;
    QColor color = ToQColor(syscolor::kButtonText);
    const QVariant own = index.data(Qt::ForegroundRole);
    if (own.isValid())
        color = own.value<QColor>();
    if (highlighted) {
        const QVariant selectedOwn = index.data(ActionListModel::kSelectedForegroundRole);
        color = selectedOwn.isValid() ? selectedOwn.value<QColor>() : ToQColor(syscolor::kHighlightText);
    }
    if (!(option.state & QStyle::State_Enabled))
        color = ToQColor(syscolor::kGrayText);
    const QVariant alignmentData = index.data(Qt::TextAlignmentRole);
    const Qt::Alignment alignment =
        alignmentData.isValid() ? alignmentData.value<Qt::Alignment>() : Qt::AlignLeft | Qt::AlignVCenter;
    const QRect box = option.rect.adjusted(kTextInset, 0, -kTextInset, 0);
    painter.save();
    painter.setPen(color);
    painter.setFont(option.font);
    painter.drawText(box, static_cast<int>(alignment) | Qt::TextSingleLine,
                     option.fontMetrics.elidedText(text, Qt::ElideRight, box.width()));
    painter.restore();
}
