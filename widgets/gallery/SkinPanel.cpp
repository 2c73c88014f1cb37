#include "widgets/gallery/SkinPanel.h"

#include <QLinearGradient>
#include <QPainter>

SkinPanel::SkinPanel(const QSize& size, QWidget* parent) : QWidget(parent) {
    resize(size);
}

void SkinPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor(0xE4, 0xE6, 0xE8));
    gradient.setColorAt(1, QColor(0xC4, 0xC5, 0xC5));
    painter.fillRect(rect(), gradient);
}
