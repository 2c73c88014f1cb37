#include "app/dialogs/ArrowHeaderCtrl.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int kArrowWidth = 9;
constexpr int kArrowHeight = 5;
const QColor kArrowColor(172, 168, 153);

} // namespace

ArrowHeaderCtrl::ArrowHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setHighlightSections(false);
    setStretchLastSection(false);
}

void ArrowHeaderCtrl::SetArrow(int column, bool ascending) {
    m_column = column;
    m_ascending = ascending;
    viewport()->update();
}

void ArrowHeaderCtrl::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    QHeaderView::paintSection(painter, rect, logicalIndex);
    if (logicalIndex == m_column)
        DrawArrow(*painter, rect, logicalIndex);
}

// Five lines, 1 to 9 pixels wide, narrowest at the top when ascending, placed after the caption.
void ArrowHeaderCtrl::DrawArrow(QPainter& painter, const QRect& rect, int logicalIndex) const {
    const QString caption = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    const int textWidth = QFontMetrics(font()).horizontalAdvance(caption);
    const auto alignment =
        model()
            ? model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole).value<Qt::Alignment>()
            : Qt::Alignment(Qt::AlignLeft);
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    const int textLeft =
        alignment & Qt::AlignHCenter ? rect.left() + (rect.width() - textWidth) / 2 : rect.left() + margin;
    const int offset = (rect.height() - kArrowHeight) / 2;
    const int left = textLeft + textWidth + offset;
    const int top = rect.top() + offset;
    painter.save();
    painter.setClipRect(rect);
    painter.setPen(QPen(kArrowColor, 1));
    for (int line = 0; line < kArrowHeight; ++line) {
        const int step = m_ascending ? line : kArrowHeight - 1 - line;
        const int inset = (kArrowWidth - (2 * step + 1)) / 2;
        painter.drawLine(left + inset, top + line, left + kArrowWidth - 1 - inset, top + line);
    }
    painter.restore();
}
