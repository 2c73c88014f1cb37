#include "widgets/AStatus.h"

#include "platform/ui/GuiThread.h"
#include "widgets/ControlMessages.h"
#include "widgets/QtText.h"
#include "widgets/Skin.h"
#include "widgets/TextFormat.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

namespace {

constexpr int kFrameCapWidth = 6;
constexpr int kFrameMiddleColumn = 6;
constexpr int kFrameRightCap = 7;
constexpr int kTextMarginX = 36; // the cancel picture's width and 20 pixels
constexpr int kTextMarginY = 2;
constexpr int kBarHeight = 9;
constexpr ColorRef kBarShadow = 0x00B2CAC6;
constexpr ColorRef kBarEdge = 0x00161616;
constexpr int kCancelMarginRight = 10;

int FormatFor(const QFontMetrics& metrics, const QString& text, int width) {
    return metrics.horizontalAdvance(text) > width ? textformat::kLeftLine : textformat::kCenteredLine;
}

} // namespace

AStatus::AStatus(int id, QWidget* parent)
    : SkinnedControl(id, parent), m_frame(skin::LoadMasked(skin::kStatusFrame, skin::kStatusFrameMask)),
      m_barFill(skin::Load(skin::kBarFill)), m_cancel(skin::LoadMasked(skin::kCancel, skin::kCancelMask)),
      m_cancelPressed(skin::LoadMasked(skin::kCancelPressed, skin::kCancelMask)),
      m_idle(skin::LoadMasked(skin::kIdle, skin::kIdleMask)) {}

AStatus::~AStatus() = default;

void AStatus::SetRange(double range) {
    std::lock_guard lock(m_lock);
    m_fields.range = range;
}

void AStatus::SetPos(double position) {
    {
        std::lock_guard lock(m_lock);
        m_fields.position = position;
        if (m_fields.animating) {
            m_fields.dirty = true;
            return;
        }
    }
    RequestRepaint();
}

void AStatus::SetStatus(int state, const AString* text1, const AString* text2, bool clear) {
    // The conversions run before the lock is taken, so the paint never waits for them.
    const std::optional<QString> line1 = text1 ? std::optional(ToQString(*text1)) : std::nullopt;
    const std::optional<QString> line2 = text2 ? std::optional(ToQString(*text2)) : std::nullopt;
    {
        std::lock_guard lock(m_lock);
        m_fields.idle = false;
        m_fields.state = state;
        if (line1 || clear)
            m_fields.text1 = line1.value_or(QString());
        if (line2 || clear)
            m_fields.text2 = line2.value_or(QString());
        if (m_fields.animating) {
            m_fields.dirty = true;
            return;
        }
    }
    RequestRepaint();
}

void AStatus::StartAnimation() {
    {
        std::lock_guard lock(m_lock);
        m_fields.animating = true;
    }
    SetAnimationTimer(true);
}

void AStatus::StopAnimation() {
    bool wasDirty;
    {
        std::lock_guard lock(m_lock);
        m_fields.animating = false;
        wasDirty = m_fields.dirty;
        m_fields.dirty = false;
    }
    SetAnimationTimer(false);
    if (wasDirty)
        RequestRepaint();
}

void AStatus::ShowCancelButton(bool show) {
    {
        std::lock_guard lock(m_lock);
        m_fields.cancelShown = show;
        m_fields.cancelPressed = false;
        m_fields.cancelHot = false;
    }
    RequestRepaint();
}

bool AStatus::IsCancelShown() const {
    std::lock_guard lock(m_lock);
    return m_fields.cancelShown;
}

void AStatus::Refresh() {
    {
        std::lock_guard lock(m_lock);
        m_fields.idle = true;
    }
    RequestRepaint();
}

void AStatus::SetTextFont(const QFont& font) {
    m_textFont = font;
    update();
}

void AStatus::SetTitleFont(const QFont& font) {
    m_titleFont = font;
    update();
}

void AStatus::RequestRepaint() {
    if (nativeui::GuiThread::IsCurrent()) {
        update();
        return;
    }
    if (m_repaintQueued.exchange(true))
        return;
    nativeui::GuiThread::Post(this, [this] {
        m_repaintQueued = false;
        update();
    });
}

void AStatus::SetAnimationTimer(bool run) {
    if (!nativeui::GuiThread::IsCurrent()) {
        nativeui::GuiThread::Post(this, [this, run] { SetAnimationTimer(run); });
        return;
    }
    if (run && m_timerId == 0)
        m_timerId = startTimer(kAnimationMilliseconds);
    if (!run && m_timerId != 0) {
        killTimer(m_timerId);
        m_timerId = 0;
    }
}

void AStatus::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_timerId) {
        SkinnedControl::timerEvent(event);
        return;
    }
    {
        std::lock_guard lock(m_lock);
        if (!m_fields.dirty)
            return;
        m_fields.dirty = false;
    }
    update();
}

AStatus::Fields AStatus::Snapshot() const {
    std::lock_guard lock(m_lock);
    return m_fields;
}

void AStatus::Draw(QPainter& painter) {
    // The fields are copied under the lock and drawn without it: a worker never waits for a paint,
    // and a paint always shows one consistent set of fields.
    const Fields fields = Snapshot();
    DrawFrameImage(painter);
    DrawContent(painter, fields);
    DrawCancelButton(painter, fields);
}

void AStatus::DrawFrameImage(QPainter& painter) const {
    if (m_frame.isNull())
        return;
    const int width = this->width();
    const int height = this->height();
    const int frameHeight = m_frame.height();
    painter.drawImage(QRect(0, 0, kFrameCapWidth, height), m_frame, QRect(0, 0, kFrameCapWidth, frameHeight));
    painter.drawImage(QRect(width - kFrameCapWidth, 0, kFrameCapWidth, height), m_frame,
                      QRect(kFrameRightCap, 0, kFrameCapWidth, frameHeight));
    painter.drawImage(QRect(kFrameCapWidth, 0, width - 2 * kFrameCapWidth, height), m_frame,
                      QRect(kFrameMiddleColumn, 0, 1, frameHeight));
}

QRect AStatus::TextRect() const {
    return QRect(kTextMarginX, kTextMarginY, width() - 2 * kTextMarginX, height() - 2 * kTextMarginY);
}

void AStatus::DrawContent(QPainter& painter, const Fields& fields) const {
    if (fields.idle) {
        painter.drawImage((width() - m_idle.width()) / 2, (height() - m_idle.height()) / 2, m_idle);
        return;
    }
    painter.setPen(ToQColor(syscolor::kButtonText));
    const int height = this->height();
    switch (fields.state) {
    case kOneLine:
        painter.setFont(m_titleFont.value_or(font()));
        if (!fields.text1.isEmpty())
            textformat::Draw(painter, rect(), fields.text1, textformat::kCenteredLine);
        break;
    case kTwoLines:
        painter.setFont(m_textFont.value_or(font()));
        DrawTwoLines(painter, fields, height / 2, TextRect().height());
        break;
    case kProgressBar:
        painter.setFont(m_textFont.value_or(font()));
        DrawTwoLines(painter, fields, height / 3, 2 * (height / 3));
        DrawProgressBar(painter, fields);
        break;
    default:
        break;
    }
}

// Two different texts take a row each; equal texts are one text over `equalHeight`.
void AStatus::DrawTwoLines(QPainter& painter, const Fields& fields, int rowHeight, int equalHeight) const {
    const QRect text = TextRect();
    const QFontMetrics metrics(painter.font());
    const auto drawLine = [&](const QString& line, int top, int lineHeight) {
        if (!line.isEmpty())
            textformat::Draw(painter, QRect(text.left(), top, text.width(), lineHeight), line,
                             FormatFor(metrics, line, text.width()));
    };
    if (fields.text1 == fields.text2) {
        drawLine(fields.text1, text.top(), equalHeight);
        return;
    }
    drawLine(fields.text1, text.top(), rowHeight);
    drawLine(fields.text2, text.top() + rowHeight, rowHeight);
}

void AStatus::DrawProgressBar(QPainter& painter, const Fields& fields) const {
    const int width = this->width();
    const QRect bar(width / 4, TextRect().top() + 2 * (height() / 3), width / 2, kBarHeight);
    Draw3dRect(painter, bar.translated(1, 1), kBarShadow, kBarShadow);
    Draw3dRect(painter, bar, kBarEdge, kBarEdge);
    const int inner = bar.width() - 2;
    // A range of 0 or less (or a negative position) has nothing to show: the bar stays empty.
    double fill = 0.0;
    if (fields.range > 0 && fields.position > 0)
        fill = fields.position < fields.range ? inner * fields.position / fields.range : inner;
    const int fillWidth = static_cast<int>(fill);
    if (fillWidth > 0 && !m_barFill.isNull())
        painter.drawImage(QRect(bar.left() + 1, bar.top() + 1, fillWidth, m_barFill.height()), m_barFill);
}

void AStatus::DrawCancelButton(QPainter& painter, const Fields& fields) {
    if (!fields.cancelShown) {
        m_cancelRect = QRect();
        return;
    }
    const QImage& picture = (fields.cancelPressed && fields.cancelHot) ? m_cancelPressed : m_cancel;
    m_cancelRect = QRect(width() - kCancelMarginRight - picture.width(), (height() - picture.height()) / 2,
                         picture.width(), picture.height());
    painter.drawImage(m_cancelRect.topLeft(), picture);
}

void AStatus::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_cancelRect.contains(event->position().toPoint())) {
        std::lock_guard lock(m_lock);
        if (m_fields.cancelShown && !m_fields.cancelPressed) {
            m_fields.cancelPressed = true;
            update();
        }
    }
    SkinnedControl::mousePressEvent(event);
}

void AStatus::mouseReleaseEvent(QMouseEvent* event) {
    bool clicked = false;
    bool repaint = false;
    {
        std::lock_guard lock(m_lock);
        if (m_fields.cancelShown && m_fields.cancelPressed) {
            clicked = m_cancelRect.contains(event->position().toPoint());
            m_fields.cancelPressed = false;
            repaint = true;
        }
    }
    if (clicked)
        PostToParent(controlmsg::kWmCancelOperation, 0, 0);
    if (repaint)
        update();
    SkinnedControl::mouseReleaseEvent(event);
}

void AStatus::mouseMoveEvent(QMouseEvent* event) {
    {
        std::lock_guard lock(m_lock);
        const bool hot = m_fields.cancelShown && m_cancelRect.contains(event->position().toPoint());
        if (m_fields.cancelShown && hot != m_fields.cancelHot) {
            m_fields.cancelHot = hot;
            update();
        }
    }
    SkinnedControl::mouseMoveEvent(event);
}
