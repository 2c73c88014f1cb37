#include "widgets/ASyncSettingBitmap.h"

#include "platform/ui/WindowMessages.h"
#include "widgets/BitmapRoutines.h"
#include "widgets/ControlMessages.h"
#include "widgets/Skin.h"
#include "widgets/TextFormat.h"

#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWidgetAction>
#include <algorithm>

namespace {

constexpr int kIconSize = 16;
constexpr int kIconStep = 18;
constexpr int kIconRowWidth = 70;
constexpr int kIconMaskRow = 32;
constexpr int kIconCount = 9;
constexpr int kPopupOffsetX = 20;
constexpr int kCheckColumn = 17;
constexpr int kNameGap = 17;
constexpr int kItemExtraWidth = 34;
constexpr int kItemFrameWidth = 2;

QImage PreparedIcons() {
    const QImage strip = skin::Load(skin::kSettingIcons);
    if (strip.isNull())
        return {};
    QImage icons = strip.copy(0, 0, kIconCount * kIconSize, kIconSize);
    BitmapApplyMask(icons, strip.copy(0, kIconMaskRow, kIconCount * kIconSize, kIconSize));
    return icons;
}

void DrawCheckMark(QPainter& painter, const QRect& cell, const QColor& color) {
    const QPointF centre = QRectF(cell).center();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 2));
    painter.drawPolyline(
        QPolygonF({centre + QPointF(-4, 0), centre + QPointF(-1, 3), centre + QPointF(4, -3)}));
    painter.restore();
}

} // namespace

// One owner-drawn entry of the popup: check column, the setting's picture, its name.
class ASyncSettingBitmap::PopupItem : public QWidget {
public:
    PopupItem(const ASyncSettingBitmap& owner, int setting, QWidgetAction* action, const QSize& size)
        : m_owner(owner), m_setting(setting), m_action(action) {
        setFixedSize(size);
        setMouseTracking(true);
        setAttribute(Qt::WA_Hover);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const bool selected = underMouse();
        const QColor text =
            selected ? ToQColor(syscolor::kHighlightText) : palette().color(QPalette::WindowText);
        if (selected)
            painter.fillRect(rect(), ToQColor(syscolor::kHighlight));
        if (m_setting == m_owner.GetSetting())
            DrawCheckMark(painter, QRect(0, 0, kCheckColumn, height()), text);
        const QImage& picture = m_owner.m_pictures[m_setting];
        painter.drawImage(kCheckColumn, 0, picture);
        painter.setPen(text);
        painter.setFont(m_owner.NameFont());
        const int nameLeft = kCheckColumn + picture.width() + kNameGap;
        textformat::Draw(painter, QRect(nameLeft, 0, width() - nameLeft, height()),
                         m_owner.Caption(m_setting), textformat::kLeftLine);
    }
    void enterEvent(QEnterEvent*) override { update(); }
    void leaveEvent(QEvent*) override { update(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
            return;
        m_action->trigger();
        if (QMenu* menu = m_owner.Popup())
            menu->close();
    }

private:
    const ASyncSettingBitmap& m_owner;
    int m_setting;
    QWidgetAction* m_action;
};

ASyncSettingBitmap::ASyncSettingBitmap(int id, QWidget* parent)
    : SkinnedControl(id, parent), m_icons(PreparedIcons()),
      m_arrow(skin::LoadMasked(skin::kArrow, skin::kArrowMask)),
      m_arrowHot(skin::LoadMasked(skin::kArrowHot, skin::kArrowMask)) {
    const QImage mask = skin::Load(skin::kSettingPictureMask);
    for (int setting = 0; setting < kSettingCount - 1; ++setting) {
        m_pictures[setting] = skin::Load(skin::kFirstSettingPicture + setting);
        BitmapApplyMask(m_pictures[setting], mask);
    }
    // Setting 7 shows the picture after the six ways', which is their mask.
    m_pictures[kSettingCount - 1] = mask;
}

ASyncSettingBitmap::~ASyncSettingBitmap() = default;

void ASyncSettingBitmap::SetSetting(int setting) {
    m_setting = (setting >= 0 && setting < kSettingCount) ? setting : kNoSetting;
    update();
}

void ASyncSettingBitmap::SetModeNames(std::function<ModeNames()> names) {
    m_names = std::move(names);
    update();
}

void ASyncSettingBitmap::SetIconTable(const IconTable& icons) {
    m_iconTable = icons;
    update();
}

ASyncSettingBitmap::ModeNames ASyncSettingBitmap::Names() const {
    return m_names ? m_names() : ModeNames{};
}

QString ASyncSettingBitmap::Caption(int setting) const {
    if (setting < 0 || setting >= kModeCount)
        return {};
    return Names()[setting];
}

QFont ASyncSettingBitmap::NameFont() const {
    return parentWidget() ? parentWidget()->font() : font();
}

void ASyncSettingBitmap::SetLayout(int layout) {
    m_layout = layout;
    if (layout != kPictureLayout) {
        update();
        return;
    }
    const QFontMetrics metrics(NameFont());
    int widest = 0;
    for (const QString& name : Names())
        widest = std::max(widest, metrics.horizontalAdvance(name));
    const QImage& picture = m_pictures[0];
    const int width = std::max(widest, picture.width() + m_arrow.width());
    const int height = metrics.height() + picture.height();
    const QRect old = geometry();
    setGeometry(old.left() - (width - old.width()) / 2, old.top() - (height - old.height()) / 2, width,
                height);
    m_pictureOffset = (width - m_arrow.width() - picture.width()) / 2;
    update();
}

void ASyncSettingBitmap::Draw(QPainter& painter) {
    if (m_layout == kIconLayout)
        DrawIcons(painter);
    else
        DrawPicture(painter);
    DrawFrame(painter);
}

void ASyncSettingBitmap::DrawIcons(QPainter& painter) const {
    if (m_icons.isNull())
        return;
    const int left = (width() - kIconRowWidth) / 2;
    const int top = (height() - kIconSize) / 2;
    for (int i = 0; i < kIconsPerSetting; ++i) {
        const int icon = m_iconTable[m_setting][i];
        if (icon < 0 || icon >= kIconCount)
            continue;
        painter.drawImage(QPoint(left + kIconStep * i, top), m_icons,
                          QRect(kIconSize * icon, 0, kIconSize, kIconSize));
    }
}

void ASyncSettingBitmap::DrawPicture(QPainter& painter) const {
    const QImage& picture = m_pictures[m_setting];
    painter.drawImage(m_pictureOffset, 0, picture);
    const QImage& arrow = IsHot() ? m_arrowHot : m_arrow;
    painter.drawImage(m_pictureOffset + picture.width(), (picture.height() - arrow.height()) / 2, arrow);

    const QString caption = Caption(m_setting);
    const QRect nameRect(0, picture.height(), width(), height() - picture.height());
    painter.setFont(NameFont());
    painter.setPen(ToQColor(isEnabled() ? syscolor::kButtonText : syscolor::kGrayText));
    textformat::Draw(painter, nameRect, caption, textformat::kCenteredLine);
    if (!isEnabled() || !IsHot() || caption.isEmpty())
        return;
    const QFontMetrics metrics(painter.font());
    const int textWidth = metrics.horizontalAdvance(caption);
    const int y = (nameRect.height() - metrics.height()) / 2 + metrics.height() + nameRect.top() - 1;
    painter.fillRect((width() - textWidth) / 2, y, textWidth, 1, ToQColor(syscolor::kButtonText));
}

void ASyncSettingBitmap::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        SkinnedControl::mousePressEvent(event);
        return;
    }
    SetHot(false);
    OpenPopup(mapToGlobal(QPoint(m_pictureOffset - kPopupOffsetX, height())));
}

void ASyncSettingBitmap::mouseMoveEvent(QMouseEvent* event) {
    TrackHot(event->position().toPoint());
    SkinnedControl::mouseMoveEvent(event);
}

void ASyncSettingBitmap::BuildPopup() {
    if (!m_popup)
        m_popup = std::make_unique<QMenu>();
    // The names may have changed (iPod or remote wording), so the items are made afresh.
    m_popup->clear();
    const QFontMetrics metrics(NameFont());
    const ModeNames names = Names();
    int widest = 0;
    int tallest = m_pictures[0].height();
    for (const QString& name : names) {
        widest = std::max(widest, metrics.horizontalAdvance(name) + m_pictures[0].width() + kItemExtraWidth);
        tallest = std::max(tallest, metrics.height());
    }
    const QSize itemSize(widest + kItemFrameWidth, tallest);
    for (int setting = 0; setting < kModeCount; ++setting) {
        auto* action = new QWidgetAction(m_popup.get());
        action->setDefaultWidget(new PopupItem(*this, setting, action, itemSize));
        const int command = controlmsg::kSettingFirstCommand + setting;
        connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
        m_popup->addAction(action);
    }
}

void ASyncSettingBitmap::OpenPopup(const QPoint& globalPosition) {
    BuildPopup();
    m_popup->popup(globalPosition);
}

bool ASyncSettingBitmap::OnCommand(int commandId) {
    if (commandId < controlmsg::kSettingFirstCommand || commandId > controlmsg::kSettingLastCommand)
        return false;
    PostToParent(nativeui::kWmCommand, commandId, 0);
    return true;
}
