#include "app/dialogs/SyncPlayListAComboBox2.h"

#include "app/dialogs/DialogPictures.h"
#include "app/dialogs/SyncActionListModel.h"
#include "sync/ASync.h"
#include "sync/SyncAction.h"
#include "sync/SyncModeTables.h"
#include "widgets/ControlMessages.h"
#include "widgets/QtText.h"
#include "widgets/Skin.h"
#include "widgets/TextFormat.h"

#include <QCheckBox>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWidgetAction>

namespace {

// An action's texts begin with the side's name and ": "; the entry shows what follows.
constexpr int kSideNameLength = 16;
constexpr int kLeftTextX = 32;
constexpr int kRightTextOffset = 112;
constexpr int kSymbolOffset = 30;
constexpr int kTextRightMargin = 16;
constexpr int kCheckMarkX = 6;
constexpr int kMenuWidthLess = 16;
constexpr ColorRef kFrameColor = Rgb(127, 157, 185);
const QColor kMenuSelection(10, 36, 106);
const QColor kMenuSelectionInner(182, 189, 210);

} // namespace

// One owner-drawn entry of the popup; choosing it triggers its action.
class SyncPlayListAComboBox2::EntryItem : public QWidget {
public:
    EntryItem(const SyncPlayListAComboBox2& chooser, int index, QWidgetAction& action)
        : m_chooser(chooser), m_index(index), m_action(action) {
        setAttribute(Qt::WA_Hover);
        setFixedSize(chooser.width() - kMenuWidthLess, kItemHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QMenu* menu = m_chooser.EntryMenu();
        if (underMouse() || (menu && menu->activeAction() == &m_action)) {
            painter.fillRect(rect(), kMenuSelection);
            painter.fillRect(rect().adjusted(1, 1, -1, -1), kMenuSelectionInner);
        } else {
            painter.fillRect(rect(), Qt::white);
        }
        m_chooser.DrawEntry(painter, rect(), m_index, true);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
            return;
        m_action.trigger();
        if (QMenu* menu = m_chooser.EntryMenu())
            menu->close();
    }

private:
    const SyncPlayListAComboBox2& m_chooser;
    int m_index;
    QWidgetAction& m_action;
};

SyncPlayListAComboBox2::SyncPlayListAComboBox2(int id, QWidget* parent) : AComboBox(id, parent) {
    SetFrameColor(kFrameColor);
    SetFrame(true, kFrameColor, kFrameColor);
}

SyncPlayListAComboBox2::~SyncPlayListAComboBox2() = default;

void SyncPlayListAComboBox2::SetEntries(const std::vector<PlayListActionEntry>& entries, int partAWidth,
                                        int partCWidth) {
    ResetContent();
    m_entries = entries;
    m_partAWidth = partAWidth;
    m_partCWidth = partCWidth;
    for (size_t index = 0; index < entries.size(); ++index) {
        const SyncAction& action = *entries[index].action;
        AddString(AfterSideName(action.text1) + QStringLiteral("$$$$") + AfterSideName(action.text2));
        SetItemData(static_cast<int>(index), static_cast<uint32_t>(index));
    }
}

QString SyncPlayListAComboBox2::AfterSideName(const AString& text) {
    return ToQString(text.Mid(kSideNameLength));
}

QString SyncPlayListAComboBox2::RightText(const AString& text2) {
    const int colon = text2.Find(u':');
    return colon > 0 ? ToQString(text2.Mid(colon + 1)) : AfterSideName(text2);
}

QColor SyncPlayListAComboBox2::TextColor(int index, bool inMenu) const {
    if (!isEnabled())
        return ToQColor(syscolor::kGrayText);
    if (index < 0 || (!inMenu && IsHot()))
        return ToQColor(syscolor::kButtonText);
    const QColor code = SyncActionListModel::CodeColor(m_entries[index].action->code);
    return code.isValid() ? code : ToQColor(syscolor::kButtonText);
}

void SyncPlayListAComboBox2::DrawSymbol(QPainter& painter, const QRect& rect,
                                        const PlayListActionEntry& entry) const {
    const SyncAction& action = *entry.action;
    const QImage* symbol = nullptr;
    if (action.displayIndex <= kUndefinedPair) {
        symbol = &dialogpictures::StripImage(skin::kActionStrip, 2 * static_cast<int>(action.displayIndex));
    } else if (entry.songSync) {
        const int mode = SyncModeOf(entry.songSync->GetDirection(), entry.songSync->GetDeleteMode());
        symbol = &dialogpictures::StripImage(skin::kSyncModeStrip, 2 * mode);
    }
    if (!symbol || symbol->isNull())
        return;
    const QRect cell(rect.left() + m_partAWidth + kSymbolOffset, rect.top(), kSymbolWidth, rect.height());
    painter.drawImage(cell.left() + (cell.width() - symbol->width()) / 2,
                      cell.top() + (cell.height() - symbol->height()) / 2, *symbol);
}

void SyncPlayListAComboBox2::DrawEntry(QPainter& painter, const QRect& rect, int index, bool inMenu) const {
    const bool shown = index >= 0 && index < static_cast<int>(m_entries.size());
    const QRect left(rect.left() + kLeftTextX, rect.top(), rect.width() - kLeftTextX - kTextRightMargin,
                     rect.height());
    const int rightX = m_partAWidth + kRightTextOffset;
    const QRect right(rect.left() + rightX, rect.top(), rect.width() - rightX - kTextRightMargin,
                      rect.height());
    painter.setFont(GetFont());
    painter.setPen(TextColor(shown ? index : -1, inMenu));
    if (!shown) {
        textformat::Draw(painter, left, ShownText(), textformat::kLeftLine);
        return;
    }
    const PlayListActionEntry& entry = m_entries[index];
    textformat::Draw(painter, left, AfterSideName(entry.action->text1), textformat::kLeftLine);
    textformat::Draw(painter, right, RightText(entry.action->text2), textformat::kLeftLine);
    DrawSymbol(painter, rect, entry);
    if (inMenu && entry.action->enabled) {
        const QImage& mark = dialogpictures::CheckMarkImage();
        painter.drawImage(rect.left() + kCheckMarkX, rect.top() + (rect.height() - mark.height()) / 2, mark);
    }
}

void SyncPlayListAComboBox2::Draw(QPainter& painter) {
    painter.fillRect(rect().adjusted(1, 1, -1, -1), Qt::white);
    DrawEntry(painter, rect(), GetCurSel(), false);
    const QImage& arrow = ArrowPicture();
    painter.drawImage(width() - arrow.width(), (height() - arrow.height()) / 2, arrow);
    DrawFrame(painter);
}

void SyncPlayListAComboBox2::DropDown(QMouseEvent* event) {
    if (event && event->position().x() < kCheckBoxZone) {
        if (m_checkBox)
            m_checkBox->click();
        return;
    }
    SetHot(false);
    update();
    if (GetCount() == 0)
        return;
    m_menu = std::make_unique<QMenu>();
    for (int index = 0; index < GetCount(); ++index) {
        QString text;
        GetItemText(index, text);
        if (text == QLatin1String(kSeparatorText)) {
            m_menu->addSeparator();
            continue;
        }
        auto* action = new QWidgetAction(m_menu.get());
        action->setData(controlmsg::kComboFirstCommand + index);
        action->setDefaultWidget(new EntryItem(*this, index, *action));
        m_menu->addAction(action);
    }
    QObject::connect(m_menu.get(), &QMenu::triggered, this,
                     [this](QAction* action) { OnCommand(action->data().toInt()); });
    m_menu->popup(mapToGlobal(QPoint(0, height())));
}
