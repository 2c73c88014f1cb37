#pragma once
// The main window's own frame: a window without the system's frame that draws its caption (title and
// three caption buttons: minimise, one that does nothing, close), cuts its corners by the corner
// mask, and moves when dragged by its caption or its background. Escape never closes it; Enter hides
// it. What the caption buttons and Enter ask for reaches the window as WM_SYSCOMMAND and IDOK.

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <array>
#include <cstdint>

class MainWindowFrame : public QWidget {
public:
    static constexpr int kCaptionHeight = 22;
    static constexpr int kEdge = 2;
    static constexpr int kCaptionButtonCount = 3;
    enum CaptionButton { kMinimizeButton = 0, kIdleButton = 1, kCloseButton = 2 };
    enum ButtonBits : uint32_t { kHotBit = 1, kPressedBit = 2 };
    // The caption buttons' squares: 54 - 18 i pixels left of the right edge, 3 pixels down.
    static constexpr int kButtonRightOffset = 54;
    static constexpr int kButtonStep = 18;
    static constexpr int kButtonTop = 3;

    explicit MainWindowFrame(QWidget* parent = nullptr);

    QRect CaptionButtonRect(int button) const;
    uint32_t CaptionButtonState(int button) const { return m_buttonStates[button]; }
    // The window's shape: its rectangle without the corners' cut pixels.
    QRegion WindowShape() const;

protected:
    // The window's answer to a caption button or Enter; the defaults post WM_SYSCOMMAND / do nothing.
    virtual void OnSysCommand(intptr_t command);
    virtual void OnOK() {}

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int ButtonAt(const QPoint& point) const;
    void SetButtonBits(int button, uint32_t bits);
    void PaintCaption(QPainter& painter) const;
    void PaintFrameEdges(QPainter& painter) const;
    void PaintCaptionButton(QPainter& painter, int button) const;

    QImage m_background;
    QImage m_buttons;
    QImage m_cornerMask;
    std::array<uint32_t, kCaptionButtonCount> m_buttonStates{};
    bool m_dragging = false;
    QPoint m_dragStart;
};
