#include "widgets/AMenu.h"

#include "widgets/TextFormat.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>

namespace {

constexpr ColorRef kInactiveText = 0x007F7F7F;
constexpr ColorRef kWhite = 0x00FFFFFF;
constexpr ColorRef kBlack = 0x00000000;
constexpr int kTextRaise = 3;

void Keep(ColorRef& target, ColorRef value) {
    if (value != kKeepColor)
        target = value;
}

// "&File" shows as "File", "&&" as "&".
QString WithoutMnemonics(QString text) {
    static const QRegularExpression mnemonic(QStringLiteral("&(.)"));
    return text.replace(mnemonic, QStringLiteral("\\1"));
}

} // namespace

AMenu::AMenu(QWidget* parent) : QMenuBar(parent) {}

void AMenu::SetColors(ColorRef normal, ColorRef hot, ColorRef selected) {
    Keep(m_normal, normal);
    Keep(m_hot, hot);
    Keep(m_selected, selected);
    update();
}

void AMenu::MakeOwnerDraw() {
    m_ownerDraw = true;
    update();
}

bool AMenu::IsOwnerInactive(unsigned state) const {
    if (m_owner)
        return !m_owner->isActiveWindow();
    return state & kInactive;
}

void AMenu::DrawItem(QPainter& painter, const QRect& itemRect, const QString& text, unsigned state) const {
    painter.save();
    painter.fillRect(itemRect, ToQColor(m_normal));
    painter.setFont(m_itemFont.value_or(font()));
    ColorRef textColor = kBlack;
    if (state & kSelected) {
        painter.fillRect(itemRect, ToQColor(m_selected));
        textColor = kWhite;
    } else if (state & kHotLight) {
        painter.fillRect(itemRect, ToQColor(m_hot));
        textColor = kWhite;
    } else if (IsOwnerInactive(state)) {
        textColor = kInactiveText;
    }
    const ColorRef penColor = (state & (kSelected | kHotLight)) ? kWhite : kBlack;
    painter.setPen(ToQColor(textColor));
    const QRect textRect = itemRect.adjusted(0, 0, 0, -kTextRaise);
    textformat::Draw(painter, textRect, text, textformat::kCenteredLine);
    if (!(state & kNoAccelerator) && !text.isEmpty()) {
        const QFontMetrics metrics(painter.font());
        const int x = itemRect.left() + (itemRect.width() - metrics.horizontalAdvance(text)) / 2;
        const int y =
            itemRect.top() + (itemRect.height() - metrics.height()) / 2 + metrics.height() - kTextRaise;
        painter.fillRect(x, y, metrics.horizontalAdvance(text.left(1)), 1, ToQColor(penColor));
    }
    painter.restore();
}

unsigned AMenu::StateOf(const QAction* action) const {
    unsigned state = kNoAccelerator;
    if (action == activeAction())
        state |= (action->menu() && action->menu()->isVisible()) ? kSelected : kHotLight;
    if (!window()->isActiveWindow())
        state |= kInactive;
    return state;
}

QRect AMenu::ItemRect(int index, int count, QAction* action) const {
    QRect item = actionGeometry(action);
    if (index == count - 1 && m_rightEdge) {
        const int edge = mapFromGlobal(m_rightEdge->mapToGlobal(QPoint(m_rightEdge->width(), 0))).x();
        item.setRight(std::max(item.right(), edge - 1));
    }
    return item;
}

void AMenu::paintEvent(QPaintEvent* event) {
    if (!m_ownerDraw) {
        QMenuBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(m_normal));
    const QList<QAction*> items = actions();
    for (int i = 0; i < items.size(); ++i) {
        QAction* action = items[i];
        if (!action->isVisible())
            continue;
        DrawItem(painter, ItemRect(i, items.size(), action), WithoutMnemonics(action->text()),
                 StateOf(action));
    }
}

QPoint AMenu::ToItemPlace(const QPoint& point) const {
    const QList<QAction*> items = actions();
    for (int i = 0; i < items.size(); ++i) {
        QAction* action = items[i];
        if (!action->isVisible() || !ItemRect(i, items.size(), action).contains(point))
            continue;
        const QRect place = actionGeometry(action);
        return place.contains(point) ? point : place.center();
    }
    return point;
}

QMouseEvent AMenu::AtItemPlace(const QMouseEvent& event) const {
    const QPoint place = ToItemPlace(event.position().toPoint());
    return QMouseEvent(event.type(), QPointF(place), QPointF(mapToGlobal(place)), event.button(), event.buttons(),
                       event.modifiers(), event.pointingDevice());
}

void AMenu::mousePressEvent(QMouseEvent* event) {
    QMouseEvent mapped = AtItemPlace(*event);
    QMenuBar::mousePressEvent(&mapped);
    event->setAccepted(mapped.isAccepted());
}

void AMenu::mouseReleaseEvent(QMouseEvent* event) {
    QMouseEvent mapped = AtItemPlace(*event);
    QMenuBar::mouseReleaseEvent(&mapped);
    event->setAccepted(mapped.isAccepted());
}

void AMenu::mouseMoveEvent(QMouseEvent* event) {
    QMouseEvent mapped = AtItemPlace(*event);
    QMenuBar::mouseMoveEvent(&mapped);
    event->setAccepted(mapped.isAccepted());
}
