#include "widgets/AStatic.h"

#include "widgets/TextFormat.h"
#include "widgets/ToolkitFonts.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

AStatic::AStatic(int id, QWidget* parent, const QString& text)
    : SkinnedControl(id, parent), m_text(text), m_ownFont(toolkitfonts::Tahoma13()) {}

void AStatic::SetText(const QString& text) {
    m_text = text;
    update();
}

void AStatic::SetTextColor(ColorRef color) {
    m_color = color;
    update();
}

void AStatic::SetTextFormat(int format) {
    m_format = format;
    update();
}

void AStatic::SetFontOverride(const QFont& font) {
    m_fontOverride = font;
    update();
}

QRect AStatic::WrappedTextRect(const QFontMetrics& metrics) const {
    const int width = std::max(1, this->width());
    const int textWidth = metrics.horizontalAdvance(m_text);
    const int textHeight = metrics.height() * ((textWidth + width - 1) / width);
    const int top = (height() - textHeight) / 2;
    return QRect(0, top, this->width(), height() - top);
}

void AStatic::Draw(QPainter& painter) {
    painter.setPen(ToQColor(m_color));
    painter.setFont(m_fontOverride.value_or(m_ownFont));
    const bool centreByHand = (m_format & textformat::kVCenter) && !(m_format & textformat::kSingleLine);
    const QRect textRect = centreByHand ? WrappedTextRect(QFontMetrics(painter.font())) : rect();
    textformat::Draw(painter, textRect, m_text, m_format);
    DrawFrame(painter);
}
