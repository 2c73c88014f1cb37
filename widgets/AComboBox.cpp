#include "widgets/AComboBox.h"

#include "widgets/BitmapRoutines.h"
#include "widgets/ControlMessages.h"
#include "widgets/Skin.h"
#include "widgets/TextFormat.h"
#include "widgets/ToolkitFonts.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <stdexcept>

namespace {

constexpr int kTextLeftMargin = 5;
constexpr int kAutoSizePadding = 10;

} // namespace

AComboBox::AComboBox(int id, QWidget* parent)
    : SkinnedControl(id, parent), m_font(toolkitfonts::Tahoma13()),
      m_arrow(skin::LoadMasked(skin::kArrow, skin::kArrowMask)),
      m_arrowHot(skin::LoadMasked(skin::kArrowHot, skin::kArrowMask)) {}

AComboBox::~AComboBox() = default;

void AComboBox::CheckIndex(int index) const {
    if (index < 0 || index >= GetCount())
        throw std::invalid_argument("combo box index out of range");
}

void AComboBox::AddString(const QString& text) {
    m_entries.push_back({text, 0});
}

void AComboBox::DeleteString(int index) {
    CheckIndex(index);
    m_entries.erase(m_entries.begin() + index);
    SetCurSel(std::min(m_selection, GetCount() - 1));
}

void AComboBox::ResetContent() {
    m_entries.clear();
    SetCurSel(-1);
}

uint32_t AComboBox::GetItemData(int index) const {
    CheckIndex(index);
    return m_entries[index].data;
}

void AComboBox::SetItemData(int index, uint32_t data) {
    CheckIndex(index);
    m_entries[index].data = data;
}

void AComboBox::GetItemText(int index, QString& text) const {
    CheckIndex(index);
    text = m_entries[index].text;
}

void AComboBox::SetCurSel(int index) {
    m_selection = index;
    if (m_autoSize)
        FitToText();
    update();
    PostToParent(controlmsg::kWmComboSelChanged, Handle(), index);
}

void AComboBox::SetEmptyText(const QString& text) {
    m_emptyText = text;
    update();
}

void AComboBox::SetFrameColor(ColorRef color) {
    m_frameColor = color;
    update();
}

void AComboBox::SetInnerFrame(bool inner) {
    m_innerFrame = inner;
    update();
}

QString AComboBox::ShownText() const {
    if (m_selection < 0 || m_selection >= GetCount())
        return m_emptyText;
    return m_entries[m_selection].text;
}

void AComboBox::FitToText() {
    const int newWidth =
        QFontMetrics(m_font).horizontalAdvance(ShownText()) + m_arrow.width() + kAutoSizePadding;
    const QRect old = geometry();
    setGeometry(old.left() + (old.width() - newWidth) / 2, old.top(), newWidth, old.height());
}

const QImage& AComboBox::ArrowPicture() const {
    return (IsHot() && !m_pressed) ? m_arrowHot : m_arrow;
}

void AComboBox::Draw(QPainter& painter) {
    if (m_arrow.isNull() || m_arrowHot.isNull())
        return;
    const QImage& arrow = ArrowPicture();
    painter.drawImage(width() - arrow.width(), (height() - arrow.height()) / 2, arrow);

    const QString text = ShownText();
    painter.setFont(m_font);
    painter.setPen(ToQColor(isEnabled() ? syscolor::kButtonText : syscolor::kGrayText));
    const QRect textRect(kTextLeftMargin, 0, width() - arrow.width() - kTextLeftMargin, height());
    textformat::Draw(painter, textRect, text, textformat::kLeftLine);

    if (isEnabled() && IsHot() && !m_pressed) {
        const QFontMetrics metrics(m_font);
        const int y = (height() - metrics.height()) / 2 + metrics.height() - 1;
        painter.fillRect(kTextLeftMargin, y, metrics.horizontalAdvance(text), 1,
                         ToQColor(syscolor::kButtonText));
    }
    if (m_innerFrame)
        Draw3dRect(painter, rect(), m_frameColor, m_frameColor);
    DrawFrame(painter);
}

void AComboBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        DropDown(event);
    else
        SkinnedControl::mousePressEvent(event);
}

void AComboBox::mouseMoveEvent(QMouseEvent* event) {
    TrackHot(event->position().toPoint());
    SkinnedControl::mouseMoveEvent(event);
}

void AComboBox::DropDown(QMouseEvent*) {
    // The pressed look is on the screen before the popup opens.
    m_pressed = true;
    setFocus();
    repaint();
    m_pressed = false;
    SetHot(false);
    update();
    if (m_entries.empty())
        return;
    BuildPopup();
    m_popup->popup(mapToGlobal(QPoint(0, height())));
}

void AComboBox::BuildPopup() {
    if (!m_popup) {
        m_popup = std::make_unique<QMenu>();
        m_popup->setFont(m_font);
        connect(m_popup.get(), &QMenu::triggered, this,
                [this](QAction* action) { OnCommand(action->data().toInt()); });
    }
    m_popup->clear();
    for (int i = 0; i < GetCount(); ++i) {
        if (m_entries[i].text == QLatin1String(kSeparatorText)) {
            m_popup->addSeparator();
            continue;
        }
        QAction* action = m_popup->addAction(m_entries[i].text);
        action->setData(controlmsg::kComboFirstCommand + i);
        if (i == m_selection) {
            action->setCheckable(true);
            action->setChecked(true);
        }
    }
}

bool AComboBox::OnCommand(int commandId) {
    const int index = commandId - controlmsg::kComboFirstCommand;
    if (index < 0 || index >= GetCount())
        return false;
    SetCurSel(index);
    PostCommand(controlmsg::kCbnSelChange);
    return true;
}
