#pragma once
// The status and progress strip of the main window: an idle picture, one centred line, two lines, or
// two lines over a progress bar, with an optional cancel button at its right end. Worker threads drive
// it through the progress seam: the setters change the fields under a mutex and queue the repaint, and
// while the busy animation's 250 ms timer runs they only mark the strip dirty, so a burst of updates
// repaints at most once per tick. A click on the cancel button posts WM_CANCEL_OPERATION to the parent.
//
// Whoever drives it from a worker detaches it (AProgress::SetStatus(nullptr)) before it is destroyed.

#include "foundation/ProgressStatusView.h"
#include "widgets/SkinnedControl.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <atomic>
#include <mutex>
#include <optional>

class AStatus : public SkinnedControl, public ProgressStatusView {
public:
    static constexpr int kAnimationMilliseconds = 250;

    AStatus(int id, QWidget* parent);
    ~AStatus() override;

    // From any thread.
    void SetRange(double range) override;
    void SetPos(double position) override;
    void SetStatus(int state, const AString* text1, const AString* text2, bool clear) override;
    void StartAnimation() override;
    void StopAnimation() override;
    void ShowCancelButton(bool show);
    bool IsCancelShown() const;
    // Back to the idle picture; the state and texts show again at the next SetStatus.
    void Refresh();

    // GUI thread only. Without a font the strip draws with its own.
    void SetTextFont(const QFont& font);
    void SetTitleFont(const QFont& font);

    void Draw(QPainter& painter) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    struct Fields {
        int state = kOneLine;
        QString text1 = QStringLiteral("Ready");
        QString text2;
        double position = 0.0;
        double range = 100.0;
        bool idle = true;
        bool cancelShown = false;
        bool cancelPressed = false;
        bool cancelHot = false;
        bool dirty = false;
        bool animating = false;
    };

    // Safe from any thread: a repaint is queued at most once until the GUI thread takes it.
    void RequestRepaint();
    Fields Snapshot() const;
    void DrawFrameImage(QPainter& painter) const;
    void DrawContent(QPainter& painter, const Fields& fields) const;
    void DrawTwoLines(QPainter& painter, const Fields& fields, int rowHeight, int equalHeight) const;
    void DrawProgressBar(QPainter& painter, const Fields& fields) const;
    void DrawCancelButton(QPainter& painter, const Fields& fields);
    QRect TextRect() const;
    void SetAnimationTimer(bool run);

    mutable std::mutex m_lock;
    Fields m_fields;
    std::atomic<bool> m_repaintQueued{false};
    int m_timerId = 0;
    QRect m_cancelRect;

    QImage m_frame;
    QImage m_barFill;
    QImage m_cancel;
    QImage m_cancelPressed;
    QImage m_idle;
    std::optional<QFont> m_textFont;
    std::optional<QFont> m_titleFont;
};
