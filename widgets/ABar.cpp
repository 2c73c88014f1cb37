#include "widgets/ABar.h"

#include "widgets/Skin.h"

#include <QPainter>

namespace {

constexpr ColorRef kEdgeLineColor = 0x00666666;
constexpr int kEdgeLineWidth = 2;

} // namespace

ABar::ABar(int id, QWidget* parent) : SkinnedControl(id, parent) {}

void ABar::SetBitmap(int pictureId) {
    m_pattern = skin::Load(pictureId);
    update();
}

void ABar::SetColor(ColorRef color) {
    m_color = color;
    update();
}

void ABar::Draw(QPainter& painter) {
    if (m_pattern.isNull()) {
        if (m_color)
            painter.fillRect(rect(), ToQColor(*m_color));
        return;
    }
    painter.drawImage(rect(), m_pattern);
    painter.setPen(QPen(ToQColor(kEdgeLineColor), kEdgeLineWidth));
    painter.drawLine(0, 0, width(), 0);
    painter.drawLine(-1, height(), width(), height());
}
