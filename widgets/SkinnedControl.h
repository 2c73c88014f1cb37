#pragma once
// What every drawn control shares: it paints itself over its parent's background through one `Draw`,
// which tests and the gallery can also call on an image; it carries its control id (objectName
// "ctl_<id>"); it follows the mouse for its hot look; it may have a frame; and it tells its parent
// what happened by posting private messages.

#include "platform/ui/PrivateMessage.h"
#include "widgets/ColorRef.h"

#include <QWidget>
#include <cstdint>
#include <memory>

class QPainter;

class SkinnedControl : public QWidget {
public:
    SkinnedControl(int id, QWidget* parent);

    int Id() const { return m_id; }

    // Draws the control in its own coordinates over whatever the painter's device shows already.
    virtual void Draw(QPainter& painter) = 0;

    // A 3-D rectangle in the two colours (top-left, bottom-right) round the control.
    void SetFrame(bool frame, ColorRef topLeft, ColorRef bottomRight);
    void EnableWindow(bool enable);

    // A 1-pixel rectangle edge: top and left in the first colour, right and bottom in the second.
    static void Draw3dRect(QPainter& painter, const QRect& rect, ColorRef topLeft, ColorRef bottomRight);

protected:
    void paintEvent(QPaintEvent* event) override;
    void leaveEvent(QEvent* event) override;

    bool IsHot() const { return m_hot; }
    // Hot follows whether the point lies in the control; true when that changed (and a repaint is due).
    bool TrackHot(const QPoint& point);
    void SetHot(bool hot);
    void DrawFrame(QPainter& painter) const;

    void PostToParent(unsigned number, intptr_t wParam, intptr_t lParam,
                      std::unique_ptr<nativeui::MessagePayload> payload = nullptr) const;
    // WM_COMMAND with this control's id and the code; lParam is the control.
    void PostCommand(int notificationCode) const;
    intptr_t Handle() const { return reinterpret_cast<intptr_t>(this); }

private:
    int m_id;
    bool m_hot = false;
    bool m_frame = false;
    ColorRef m_frameTopLeft = 0;
    ColorRef m_frameBottomRight = 0;
};
