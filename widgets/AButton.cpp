#include "widgets/AButton.h"

#include "widgets/BitmapRoutines.h"
#include "widgets/ControlMessages.h"
#include "widgets/Skin.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {

constexpr int kFocusInsetDivisor = 8;

} // namespace

AButton::AButton(int id, QWidget* parent) : SkinnedControl(id, parent) {
    SetTabStop(true);
}

void AButton::SetImages(int bits, int pictureId) {
    const QImage picture = skin::Load(pictureId);
    if (bits & kNormalImage) {
        m_normal = picture;
        m_greyed = picture;
    }
    if (bits & kPressedImage)
        m_pressed = picture;
    if (bits & kMaskImage)
        m_mask = picture;
    update();
}

void AButton::SizeToImage() {
    if (!m_normal.isNull())
        resize(m_normal.size());
    BitmapApplyMask(m_normal, m_mask);
    BitmapApplyMask(m_pressed, m_mask);
    BitmapApplyMask(m_greyed, m_mask);
    BitmapMakeDisabled(m_normal, m_mask, m_greyed);
    update();
}

void AButton::SetFocusStyle(int style) {
    m_focusStyle = style;
    update();
}

void AButton::SetTabStop(bool tabStop) {
    m_tabStop = tabStop;
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

const QImage& AButton::CurrentPicture() const {
    if (!isEnabled())
        return m_greyed;
    if ((m_mousePressed && IsHot()) || m_keyPressed)
        return m_pressed;
    return m_normal;
}

void AButton::Draw(QPainter& painter) {
    if (isHidden() || m_normal.isNull() || m_pressed.isNull() || m_greyed.isNull())
        return;
    painter.drawImage(0, 0, CurrentPicture());
    if (hasFocus() && m_tabStop)
        DrawFocusMark(painter);
    DrawFrame(painter);
}

void AButton::DrawFocusMark(QPainter& painter) const {
    const QRect mark = rect().adjusted(width() / kFocusInsetDivisor, height() / kFocusInsetDivisor,
                                       -(width() / kFocusInsetDivisor), -(height() / kFocusInsetDivisor));
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    if (m_focusStyle == kFocusRectangle)
        painter.drawRect(mark.adjusted(0, 0, -1, -1));
    else if (m_focusStyle == kFocusEllipse)
        painter.drawEllipse(mark.adjusted(0, 0, -1, -1));
    painter.restore();
}

void AButton::SetMousePressed(bool pressed) {
    if (pressed == m_mousePressed)
        return;
    m_mousePressed = pressed;
    update();
}

void AButton::SetKeyPressed(bool pressed) {
    if (pressed == m_keyPressed)
        return;
    m_keyPressed = pressed;
    update();
}

void AButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        SkinnedControl::mousePressEvent(event);
        return;
    }
    TrackHot(event->position().toPoint());
    SetMousePressed(true);
}

void AButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        SkinnedControl::mouseReleaseEvent(event);
        return;
    }
    if (m_mousePressed && rect().contains(event->position().toPoint()))
        PostCommand(controlmsg::kBnClicked);
    SetMousePressed(false);
}

void AButton::mouseMoveEvent(QMouseEvent* event) {
    TrackHot(event->position().toPoint());
    SkinnedControl::mouseMoveEvent(event);
}

void AButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space) {
        SkinnedControl::keyPressEvent(event);
        return;
    }
    // Outside the tab order the space bar is swallowed.
    if (m_tabStop && !event->isAutoRepeat())
        SetKeyPressed(true);
}

void AButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space) {
        SkinnedControl::keyReleaseEvent(event);
        return;
    }
    if (event->isAutoRepeat() || !m_keyPressed)
        return;
    SetKeyPressed(false);
    PostCommand(controlmsg::kBnClicked);
}

void AButton::focusInEvent(QFocusEvent* event) {
    update();
    SkinnedControl::focusInEvent(event);
}

void AButton::focusOutEvent(QFocusEvent* event) {
    m_keyPressed = false;
    m_mousePressed = false;
    update();
    SkinnedControl::focusOutEvent(event);
}

bool AButton::event(QEvent* event) {
    if (nativeui::PrivateMessage::Is(event, controlmsg::kWmButtonClick)) {
        QTimer::singleShot(kDeliveredClickMilliseconds, this, [this] { DeliverClick(); });
        return true;
    }
    return SkinnedControl::event(event);
}

void AButton::DeliverClick() {
    SetMousePressed(false);
    repaint();
    PostCommand(controlmsg::kBnClicked);
}
