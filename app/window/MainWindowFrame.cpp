#include "app/window/MainWindowFrame.h"

#include "app/skin/AppSkin.h"
#include "app/window/MainMessages.h"
#include "widgets/BitmapRoutines.h"
#include "widgets/ColorRef.h"
#include "widgets/Skin.h"
#include "widgets/ToolkitFonts.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr ColorRef kFrameColor = 0x00C4C5C5;
constexpr ColorRef kOuterEdge = 0x00474747;
constexpr ColorRef kInnerEdge = 0x006D6D6D;
constexpr ColorRef kHighlight = 0x00E2E2E2;
constexpr ColorRef kTitleColor = 0x00363330;
constexpr int kTitleLeft = 10;
constexpr int kButtonStates = 3;

// The cell of a caption button's picture in its state: normal, hot or pressed.
int StateCell(uint32_t bits) {
    if (bits & MainWindowFrame::kPressedBit)
        return 2;
    return (bits & MainWindowFrame::kHotBit) ? 1 : 0;
}

} // namespace

MainWindowFrame::MainWindowFrame(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    m_background = skin::Load(appskin::kBackground);
    m_buttons = skin::Load(appskin::kCaptionButtons);
    m_cornerMask = skin::Load(appskin::kCornerMask);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect MainWindowFrame::CaptionButtonRect(int button) const {
    return QRect(width() - kButtonRightOffset + kButtonStep * button, kButtonTop, appskin::kCaptionButtonSize,
                 appskin::kCaptionButtonSize);
}

int MainWindowFrame::ButtonAt(const QPoint& point) const {
    for (int button = 0; button < kCaptionButtonCount; ++button) {
        if (CaptionButtonRect(button).contains(point))
            return button;
    }
    return -1;
}

void MainWindowFrame::SetButtonBits(int button, uint32_t bits) {
    if (m_buttonStates[button] == bits)
        return;
    m_buttonStates[button] = bits;
    update(CaptionButtonRect(button));
}

QRegion MainWindowFrame::WindowShape() const {
    QRegion shape(rect());
    if (m_cornerMask.isNull())
        return shape;
    const int size = appskin::kCornerSize;
    const QRgb cut = 0xFF000000 | appskin::kCutColor;
    for (int corner = 0; corner < 4; ++corner) {
        const int left = (corner % 2 == 1) ? width() - size : 0;
        const int top = (corner >= 2) ? height() - size : 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (m_cornerMask.pixel(corner * size + x, y) == cut)
                    shape -= QRegion(left + x, top + y, 1, 1);
            }
        }
    }
    return shape;
}

void MainWindowFrame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!size().isEmpty())
        setMask(WindowShape());
    update();
}

void MainWindowFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_background.isNull())
        painter.fillRect(rect(), ToQColor(kFrameColor));
    else
        painter.fillRect(rect(), QBrush(m_background));
    PaintCaption(painter);
    PaintFrameEdges(painter);
}

void MainWindowFrame::PaintCaption(QPainter& painter) const {
    const QRect caption(0, 0, width(), kCaptionHeight);
    QLinearGradient gradient(caption.topLeft(), caption.bottomLeft());
    gradient.setColorAt(0, ToQColor(kHighlight));
    gradient.setColorAt(1, ToQColor(kFrameColor));
    painter.fillRect(caption, gradient);
    painter.fillRect(QRect(0, kCaptionHeight - 1, width(), 1), ToQColor(kInnerEdge));
    painter.setPen(ToQColor(kTitleColor));
    painter.setFont(toolkitfonts::Make(QStringLiteral("Tahoma"), 13, toolkitfonts::kWeightBold));
    painter.drawText(QRect(kTitleLeft, 0, width() - kButtonRightOffset - kTitleLeft, kCaptionHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, windowTitle());
    for (int button = 0; button < kCaptionButtonCount; ++button)
        PaintCaptionButton(painter, button);
}

void MainWindowFrame::PaintCaptionButton(QPainter& painter, int button) const {
    if (m_buttons.isNull())
        return;
    const int size = appskin::kCaptionButtonSize;
    const int cell = (kButtonStates * button + StateCell(m_buttonStates[button])) * size;
    QImage face = m_buttons.copy(cell, 0, size, size);
    BitmapApplyMask(face, m_buttons.copy(cell, size, size, size));
    painter.drawImage(CaptionButtonRect(button).topLeft(), face);
}

void MainWindowFrame::PaintFrameEdges(QPainter& painter) const {
    painter.setPen(ToQColor(kOuterEdge));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(ToQColor(kHighlight));
    painter.drawLine(1, 1, width() - 2, 1);
    painter.drawLine(1, 1, 1, height() - 2);
}

void MainWindowFrame::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const int button = ButtonAt(event->position().toPoint());
    if (button >= 0) {
        SetButtonBits(button, kHotBit | kPressedBit);
        return;
    }
    m_dragging = true;
    m_dragStart = event->position().toPoint();
}

void MainWindowFrame::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(pos() + point - m_dragStart);
        return;
    }
    for (int button = 0; button < kCaptionButtonCount; ++button) {
        const bool inside = CaptionButtonRect(button).contains(point);
        SetButtonBits(button, inside ? (m_buttonStates[button] | kHotBit) : (m_buttonStates[button] & ~kHotBit));
    }
}

void MainWindowFrame::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    m_dragging = false;
    const int under = ButtonAt(event->position().toPoint());
    for (int button = 0; button < kCaptionButtonCount; ++button) {
        const bool pressed = m_buttonStates[button] & kPressedBit;
        SetButtonBits(button, button == under ? uint32_t{kHotBit} : uint32_t{0});
        if (!pressed || button != under)
            continue;
        if (button == kMinimizeButton)
            OnSysCommand(mainmsg::kScMinimize);
        if (button == kCloseButton)
            OnSysCommand(mainmsg::kScClose);
    }
}

void MainWindowFrame::leaveEvent(QEvent* event) {
    if (!m_dragging) {
        for (int button = 0; button < kCaptionButtonCount; ++button)
            SetButtonBits(button, 0);
    }
    QWidget::leaveEvent(event);
}

void MainWindowFrame::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OnOK();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MainWindowFrame::OnSysCommand(intptr_t command) {
    if (command == mainmsg::kScMinimize)
        showMinimized();
}
