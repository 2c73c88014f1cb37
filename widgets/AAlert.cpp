#include "widgets/AAlert.h"

#include "platform/ui/DialogUnits.h"
#include "widgets/ControlId.h"
#include "widgets/ToolkitFonts.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

namespace {

constexpr int kDialogWidthUnits = 240;
constexpr int kDialogHeightUnits = 102;
constexpr int kIconId = 10012;
constexpr int kMessageId = 10006;
constexpr int kFirstDescriptionId = 10007;
constexpr int kIconSize = 32;

constexpr int kMinimumButtonWidth = 80;
constexpr int kButtonTextPadding = 20;
constexpr int kButtonGap = 10;
constexpr int kTextRightMargin = 20;
constexpr QPoint kIconPosition(12, 10);
constexpr QPoint kMessagePosition(57, 9);
constexpr int kDescriptionLeft = 57;
constexpr int kDescriptionGap = 5;
constexpr int kButtonsGap = 20;
constexpr int kBottomMargin = 9;

const QString kLineBreak = QStringLiteral("\r\n");

QLabel* MakeStatic(QWidget* parent, int id, const QRect& templateUnits) {
    auto* label = new QLabel(parent);
    SetControlId(*label, id);
    label->setGeometry(nativeui::DialogUnitsToPixels(templateUnits.x(), templateUnits.y(),
                                                     templateUnits.width(), templateUnits.height()));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

QString DisplayText(const QString& text) {
    QString shown = text;
    return shown.replace(kLineBreak, QStringLiteral("\n"));
}

} // namespace

AAlert::AAlert(QWidget* parent) : ExplicitEndDialog(parent) {
    setWindowTitle(QStringLiteral("Alert"));
    setFocusPolicy(Qt::StrongFocus);
    resize(nativeui::DialogUnitsToPixelsX(kDialogWidthUnits),
           nativeui::DialogUnitsToPixelsY(kDialogHeightUnits));

    m_icon = MakeStatic(this, kIconId, QRect(25, 30, 21, 20));
    m_message = MakeStatic(this, kMessageId, QRect(25, 15, 205, 8));
    for (int i = 0; i < kDescriptionCount; ++i)
        m_descriptions[i] = MakeStatic(this, kFirstDescriptionId + i, QRect(60, 30 + 12 * i, 170, 10));
    for (int i = 0; i < kButtonCount; ++i) {
        auto* button = new QPushButton(this);
        SetControlId(*button, kFirstButtonId + i);
        button->setGeometry(nativeui::DialogUnitsToPixels(10 + 45 * i, 82, 40, 15));
        // No button is the default one: Enter answers nothing (Space clicks the focused button).
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { EndWith(i); });
        m_buttons[i] = button;
    }
}

void AAlert::SetMessage(const QString& text) {
    m_messageText = text;
}

void AAlert::SetDescription(int index, const QString& text) {
    m_descriptionTexts[index] = text;
}

void AAlert::SetButton(int index, const QString& caption) {
    m_captions[index] = caption;
}

int AAlert::DoModal() {
    Prepare();
    return RunModal(-1);
}

void AAlert::Prepare() {
    if (parentWidget())
        setWindowIcon(parentWidget()->window()->windowIcon());
    m_icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(kIconSize, kIconSize));
    m_message->setFont(toolkitfonts::Make(QStringLiteral("Courier"), 15, toolkitfonts::kWeightBold));
    for (QLabel* description : m_descriptions)
        description->setFont(toolkitfonts::Make(QStringLiteral("Courier"), 14, toolkitfonts::kWeightNormal));
    FillTexts();
    LayOut();
}

void AAlert::showEvent(QShowEvent* event) {
    ExplicitEndDialog::showEvent(event);
    setFocus();
}

void AAlert::FillTexts() {
    m_message->setText(DisplayText(m_messageText));
    for (int i = 0; i < kDescriptionCount; ++i)
        m_descriptions[i]->setText(DisplayText(m_descriptionTexts[i]));
    for (int i = 0; i < kButtonCount; ++i)
        m_buttons[i]->setText(m_captions[i]);
}

int AAlert::VisibleButtonCount() const {
    return static_cast<int>(std::count_if(m_captions.begin(), m_captions.end(),
                                          [](const QString& caption) { return !caption.isEmpty(); }));
}

void AAlert::LayOut() {
    const int shown = VisibleButtonCount();
    std::array<int, kButtonCount> widths{};
    // Widths are of the client area: the buttons sit 10 pixels from its edges and from one another.
    int required = kButtonGap * (shown + 1);
    for (int i = 0; i < kButtonCount; ++i) {
        const QFontMetrics metrics(m_buttons[i]->font());
        widths[i] =
            std::max(kMinimumButtonWidth, metrics.horizontalAdvance(m_captions[i]) + kButtonTextPadding);
        if (i < shown)
            required += widths[i];
    }
    if (width() < required)
        resize(required, height());

    FitStatic(*m_message, m_messageText);
    for (int i = 0; i < kDescriptionCount; ++i)
        FitStatic(*m_descriptions[i], m_descriptionTexts[i]);
    m_icon->move(kIconPosition);
    m_message->move(kMessagePosition);
    int bottom = m_message->geometry().y() + m_message->height();
    PlaceDescriptions(bottom);

    const int buttonTop = bottom + kButtonsGap;
    resize(width(), buttonTop + m_buttons[0]->height() + kBottomMargin);
    PlaceButtons(buttonTop, widths, required);
}

int AAlert::TextHeight(const QLabel& label, const QString& text) {
    const QFontMetrics metrics(label.font());
    const int width = std::max(1, label.width());
    int height = 0;
    for (const QString& piece : text.split(kLineBreak)) {
        const int textWidth = metrics.horizontalAdvance(piece);
        if (textWidth >= 1)
            height += metrics.height() * ((textWidth + width - 1) / width);
    }
    return height;
}

void AAlert::FitStatic(QLabel& label, const QString& text) const {
    const int left = label.geometry().x();
    label.resize(std::max(0, width() - kTextRightMargin - left), label.height());
    label.resize(label.width(), TextHeight(label, text));
}

void AAlert::PlaceDescriptions(int& bottom) {
    for (int i = 0; i < kDescriptionCount; ++i) {
        QLabel* description = m_descriptions[i];
        if (m_descriptionTexts[i].isEmpty()) {
            description->hide();
            continue;
        }
        description->move(kDescriptionLeft, bottom + kDescriptionGap);
        description->show();
        bottom = description->geometry().y() + description->height();
    }
}

void AAlert::PlaceButtons(int top, const std::array<int, kButtonCount>& widths, int required) {
    const int shown = VisibleButtonCount();
    int x = (width() - required) / 2 + kButtonGap;
    for (int i = 0; i < kButtonCount; ++i) {
        QPushButton* button = m_buttons[i];
        button->setGeometry(x, top, widths[i], button->height());
        x += widths[i] + kButtonGap;
        button->setVisible(i < shown);
    }
}
