#include "widgets/SkinnedControl.h"

#include "widgets/ControlId.h"
#include "widgets/ControlMessages.h"

#include <QPainter>

SkinnedControl::SkinnedControl(int id, QWidget* parent) : QWidget(parent), m_id(id) {
    SetControlId(*this, id);
    setMouseTracking(true);
}

void SkinnedControl::SetFrame(bool frame, ColorRef topLeft, ColorRef bottomRight) {
    m_frame = frame;
    m_frameTopLeft = topLeft;
    m_frameBottomRight = bottomRight;
    update();
}

void SkinnedControl::EnableWindow(bool enable) {
    setEnabled(enable);
    update();
}

void SkinnedControl::Draw3dRect(QPainter& painter, const QRect& rect, ColorRef topLeft,
                                ColorRef bottomRight) {
    const int x = rect.x();
    const int y = rect.y();
    const int width = rect.width();
    const int height = rect.height();
    painter.fillRect(x, y, width - 1, 1, ToQColor(topLeft));
    painter.fillRect(x, y, 1, height - 1, ToQColor(topLeft));
    painter.fillRect(x + width - 1, y, 1, height, ToQColor(bottomRight));
    painter.fillRect(x, y + height - 1, width, 1, ToQColor(bottomRight));
}

void SkinnedControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Draw(painter);
}

void SkinnedControl::leaveEvent(QEvent* event) {
    SetHot(false);
    QWidget::leaveEvent(event);
}

bool SkinnedControl::TrackHot(const QPoint& point) {
    const bool hot = rect().contains(point);
    if (hot == m_hot)
        return false;
    SetHot(hot);
    return true;
}

void SkinnedControl::SetHot(bool hot) {
    if (hot == m_hot)
        return;
    m_hot = hot;
    update();
}

void SkinnedControl::DrawFrame(QPainter& painter) const {
    if (m_frame)
        Draw3dRect(painter, rect(), m_frameTopLeft, m_frameBottomRight);
}

void SkinnedControl::PostToParent(unsigned number, intptr_t wParam, intptr_t lParam,
                                  std::unique_ptr<nativeui::MessagePayload> payload) const {
    nativeui::PrivateMessage::Post(parentWidget(), number, wParam, lParam, std::move(payload));
}

void SkinnedControl::PostCommand(int notificationCode) const {
    controlmsg::PostCommand(*this, m_id, notificationCode);
}
