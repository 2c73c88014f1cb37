#pragma once
// The main window's menu bar in the skin's greys: every item drawn by DrawItem, the last one reaching
// to the right edge of a given window; text turns grey while the owner window is not active. An item
// answers the mouse wherever it is drawn, its widened part too.

#include "widgets/ColorRef.h"

#include <QFont>
#include <QMenuBar>
#include <QPointer>
#include <optional>

class AMenu : public QMenuBar {
public:
    // Item states, as owner drawing reports them.
    enum ItemState : unsigned {
        kSelected = 0x0001,
        kHotLight = 0x0040,
        kInactive = 0x0080,
        kNoAccelerator = 0x0100,
    };
    static constexpr ColorRef kNormalColor = 0x00C4C5C5;
    static constexpr ColorRef kHotColor = 0x00858585;
    static constexpr ColorRef kSelectedColor = 0x00676767;

    explicit AMenu(QWidget* parent = nullptr);

    // kKeepColor leaves a colour as it is.
    void SetColors(ColorRef normal, ColorRef hot, ColorRef selected);
    void SetOwnerWindow(QWidget* owner) { m_owner = owner; }
    void SetRightEdgeWindow(QWidget* window) { m_rightEdge = window; }
    void SetItemFont(const QFont& font) { m_itemFont = font; }
    // From now on the bar's items are drawn by DrawItem.
    void MakeOwnerDraw();

    void DrawItem(QPainter& painter, const QRect& itemRect, const QString& text, unsigned state) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    unsigned StateOf(const QAction* action) const;
    QRect ItemRect(int index, int count, QAction* action) const;
    // A point of an item's drawn place, moved into the place where the bar itself looks for the item.
    QPoint ToItemPlace(const QPoint& point) const;
    // The event at ToItemPlace of its point.
    QMouseEvent AtItemPlace(const QMouseEvent& event) const;
    bool IsOwnerInactive(unsigned state) const;

    ColorRef m_normal = kNormalColor;
    ColorRef m_hot = kHotColor;
    ColorRef m_selected = kSelectedColor;
    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_rightEdge;
    std::optional<QFont> m_itemFont;
    bool m_ownerDraw = false;
};
