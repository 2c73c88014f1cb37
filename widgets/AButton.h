#pragma once
// A picture button: normal, pressed and greyed pictures composed with their mask. A click (press and
// release on the button) or the space bar on a button in the tab order posts WM_COMMAND (id,
// BN_CLICKED) to the parent; a press dragged off and released there posts nothing.

#include "widgets/SkinnedControl.h"

#include <QImage>

class AButton : public SkinnedControl {
public:
    enum ImageBits { kNormalImage = 1, kPressedImage = 2, kMaskImage = 4 };
    enum FocusStyle { kFocusRectangle = 0, kFocusEllipse = 1 };
    // How long a delivered click shows before its command is posted.
    static constexpr int kDeliveredClickMilliseconds = 100;

    AButton(int id, QWidget* parent);

    // Loads picture `pictureId` into every slot named by `bits`; the normal picture also gives the greyed
    // picture its first copy.
    void SetImages(int bits, int pictureId);
    // Sizes the button to its normal picture (top-left kept), then premultiplies the pictures with the
    // mask and builds the greyed picture.
    void SizeToImage();
    // Any style other than the rectangle and the ellipse shows no focus mark.
    void SetFocusStyle(int style);
    // A button in the tab order takes the keyboard focus by tab and reacts to the space bar.
    void SetTabStop(bool tabStop);
    bool IsTabStop() const { return m_tabStop; }

    void Draw(QPainter& painter) override;

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    const QImage& CurrentPicture() const;
    void DrawFocusMark(QPainter& painter) const;
    void SetMousePressed(bool pressed);
    void SetKeyPressed(bool pressed);
    void DeliverClick();

    QImage m_normal;
    QImage m_pressed;
    QImage m_mask;
    QImage m_greyed;
    bool m_mousePressed = false;
    bool m_keyPressed = false;
    bool m_tabStop = true;
    int m_focusStyle = kFocusRectangle;
};
