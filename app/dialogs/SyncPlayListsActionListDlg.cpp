#include "app/dialogs/SyncPlayListsActionListDlg.h"

#include "app/dialogs/ActionListView.h"
#include "app/dialogs/ArrowHeaderCtrl.h"
#include "app/dialogs/SyncActionListDlg.h"
#include "app/dialogs/SyncActionListModel.h"
#include "app/dialogs/SyncActionMenu.h"
#include "app/dialogs/SyncPlayListAComboBox2.h"
#include "foundation/ErrorCodes.h"
#include "platform/ui/PrivateMessage.h"
#include "sync/ASync.h"
#include "sync/SyncAction.h"
#include "sync/SyncModeTables.h"
#include "widgets/ControlMessages.h"
#include "widgets/DialogSplitterWnd.h"
#include "widgets/QtText.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <algorithm>

namespace {

const ActionListDialog::Template kPlayListTemplate = {
    {0, 0, 400, 240}, {286, 225, 50, 15}, {340, 225, 50, 15}, {4, 225, 58, 15}, {65, 225, 58, 15}, {},
};
const QRect kChooserUnits(111, 6, 160, 30);
const QRect kLabelUnits(7, 9, 56, 8);
const QRect kCheckBoxUnits(69, 10, 10, 8);
constexpr int kSplitterTop = 45;
constexpr int kSplitterBottom = 358;
constexpr int kChooserTop = 12;
constexpr int kChooserHeight = 20;
constexpr int kChooserRightExtra = 46;
constexpr int kCheckBoxInset = 5;
constexpr int kLeftTextPadding = 8;
constexpr int kRightTextPadding = 4;
constexpr int kRightPartGrowth = 10;
constexpr int kLineBeyondView = 10;
constexpr int kBandTop = 43;
constexpr int kBandBottom = 45;
const QColor kViewLineColor(127, 157, 185);
const ActionRowDelegate::Colors kColors{QColor(227, 234, 244)};
const QString kErrorRowText = QStringLiteral("ERROR");

} // namespace

SyncPlayListsActionListDlg::SyncPlayListsActionListDlg()
    : ActionListDialog(kPlayListTemplate, SyncActionMenu::kCheckAll, SyncActionMenu::kUncheckAll),
      m_splitter(new DialogSplitterWnd(this)), m_chooser(new SyncPlayListAComboBox2(kChooserId, this)),
      m_label(new QLabel(QStringLiteral("Sync Actions for:"), this)), m_checkBox(new QCheckBox(this)) {
    SetBaseTitle(QStringLiteral("Sync Actions to Perform"));
    SetUpList();
    SetUpChooser();
    SetListArea(m_splitter, m_view.get());
    FinishOpening();
    m_view->setFocus();
}

SyncPlayListsActionListDlg::~SyncPlayListsActionListDlg() = default;

// The list stands in the splitter's first pane, below the chooser.
void SyncPlayListsActionListDlg::SetUpList() {
    m_model = std::make_unique<SyncActionListModel>(SyncActionListModel::PlayListLook());
    m_view = std::make_unique<ActionListView>(m_splitter, kColors);
    m_menu = std::make_unique<SyncActionMenu>(*m_view, *m_model);
    m_splitter->setObjectName(QStringLiteral("splitter"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(m_view.get());
    m_splitter->setGeometry(0, kSplitterTop, width(), kSplitterBottom - kSplitterTop);
    SyncActionListDlg::SetUpSyncColumns(*m_view, *m_model);
    m_model->SetChecksChanged([this] { RewriteTitle(); });
    QObject::connect(&m_view->Header(), &QHeaderView::sectionResized, this,
                     [this](int column, int, int size) {
                         if (column == 1 && size != m_column1Width)
                             PlaceChooser();
                     });
}

// The playlist's check box lies over the chooser's left end, the label just left of the chooser.
void SyncPlayListsActionListDlg::SetUpChooser() {
    m_chooser->setGeometry(Pixels(kChooserUnits));
    m_label->setObjectName(QStringLiteral("ctl_%1").arg(kLabelId));
    m_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_label->setFont(m_chooser->GetFont());
    // In the chooser's font the text is wider than the template's label.
    const QRect label = Pixels(kLabelUnits);
    m_label->setGeometry(label.adjusted(0, 0, std::max(0, m_label->sizeHint().width() - label.width()), 0));
    m_checkBox->setObjectName(QStringLiteral("ctl_%1").arg(kCheckBoxId));
    m_checkBox->setGeometry(Pixels(kCheckBoxUnits));
    m_checkBox->raise();
    m_chooser->SetCheckBox(m_checkBox);
    QObject::connect(m_checkBox, &QCheckBox::clicked, this, [this](bool checked) {
        if (m_currentEntry < static_cast<int>(m_entries.size()))
            m_entries[m_currentEntry].action->enabled = checked ? 1 : 0;
        m_chooser->update();
    });
}

int SyncPlayListsActionListDlg::Confirm(const std::vector<PlayListActionEntry>& entries, bool remote) {
    const bool confirmed = ActionListDialog::Confirm([&] {
        auto dialog = std::make_unique<SyncPlayListsActionListDlg>();
        dialog->SetActionList(entries, remote);
        return dialog;
    });
    return confirmed ? 0 : kUserCancel;
}

void SyncPlayListsActionListDlg::SetActionList(std::vector<PlayListActionEntry> entries, bool remote) {
    m_entries = std::move(entries);
    m_remote = remote;
    m_texts = SyncActionTexts::ForSides(AString("iTunes"), AString(remote ? "Remote iTunes" : "iPod"), false);
    SyncActionListDlg::SetSideTexts(*m_model, m_texts);
    m_menu->SetTexts(&m_texts);
    FillChooser();
    Layout();
}

int SyncPlayListsActionListDlg::ModeOf(const ASync& songSync) const {
    return SyncModeOf(songSync.GetDirection(), songSync.GetDeleteMode());
}

// A playlist whose song sync has nothing to do cannot take part; the first one that has is shown.
void SyncPlayListsActionListDlg::FillChooser() {
    const QFontMetrics metrics(m_chooser->GetFont());
    int partA = 0;
    int partC = 0;
    int first = -1;
    for (size_t index = 0; index < m_entries.size(); ++index) {
        const PlayListActionEntry& entry = m_entries[index];
        const bool hasActions = entry.songSync && entry.songSync->GetActionCount() > 0;
        if (!hasActions)
            entry.action->enabled = 0;
        else if (first < 0)
            first = static_cast<int>(index);
        const QString left = SyncPlayListAComboBox2::AfterSideName(entry.action->text1);
        const QString right = SyncPlayListAComboBox2::AfterSideName(entry.action->text2);
        partA = std::max(partA, metrics.horizontalAdvance(left) + kLeftTextPadding);
        partC = std::max(partC, metrics.horizontalAdvance(right) + kRightTextPadding);
    }
    m_chooser->SetEntries(m_entries, partA, partC + kRightPartGrowth);
    if (m_entries.empty())
        return;
    m_chooser->SetCurSel(first >= 0 ? first : 0);
    update();
    if (first >= 0)
        ShowEntry(first);
}

void SyncPlayListsActionListDlg::ShowEntry(int index) {
    m_currentEntry = index;
    const PlayListActionEntry& entry = m_entries[index];
    m_checkBox->setChecked(entry.action->enabled != 0);
    if (!entry.songSync || entry.songSync == m_currentSongSync)
        return;
    m_currentSongSync = entry.songSync;
    m_menu->SetSync(entry.result == 0 ? m_currentSongSync : nullptr);
    m_view->ClearSort();
    if (entry.result != 0) {
        m_model->ShowErrorRow(kErrorRowText);
        return;
    }
    ShowSongActions(*m_currentSongSync);
}

void SyncPlayListsActionListDlg::ShowSongActions(ASync& songSync) {
    const int mode = ModeOf(songSync);
    const char* name = SyncModeName(mode, m_remote);
    m_model->SetPairMode(mode, name ? QString::fromLatin1(name) : QString());
    std::vector<SyncAction*> actions;
    for (int index = 0; index < songSync.GetActionCount(); ++index)
        actions.push_back(songSync.GetAction(index));
    m_model->SetActions(std::move(actions));
}

void SyncPlayListsActionListDlg::RewriteTitle() {
    WriteCountTitle(m_model->CheckedCount(), m_model->ActionRowCount(), "actions");
}

bool SyncPlayListsActionListDlg::event(QEvent* event) {
    const nativeui::PrivateMessage* message = nativeui::PrivateMessage::From(event);
    if (!message)
        return ActionListDialog::event(event);
    if (message->Number() == nativeui::kWmCommand && nativeui::LowWord(message->WParam()) == kChooserId &&
        nativeui::HighWord(message->WParam()) == controlmsg::kCbnSelChange) {
        const int chosen = m_chooser->GetCurSel();
        if (chosen >= 0 && chosen != m_currentEntry) {
            update();
            ShowEntry(chosen);
        }
    }
    return true;
}

// The splitter's right pane stays collapsed: the view takes the whole width.
void SyncPlayListsActionListDlg::PlaceListArea(int bottom) {
    const QRect area = m_splitter->geometry();
    m_splitter->setGeometry(1, area.top(), width() - 1, bottom - area.top());
}

void SyncPlayListsActionListDlg::LayoutColumns() {
    SyncActionListDlg::LayoutSyncColumns(*m_view);
    PlaceChooser();
}

// The chooser's symbol stands over the list's action column, its texts over the two sides.
void SyncPlayListsActionListDlg::PlaceChooser() {
    m_column1Width = m_view->columnWidth(1);
    const int left = m_column1Width - m_chooser->PartAWidth();
    const int right =
        m_column1Width + SyncPlayListAComboBox2::kSymbolWidth + m_chooser->PartCWidth() + kChooserRightExtra;
    m_chooser->setGeometry(left, kChooserTop, right - left, kChooserHeight);
    m_label->move(left - 1 - m_label->width(), m_label->y());
    m_checkBox->move(left + kCheckBoxInset, m_checkBox->y());
    update();
}

std::unique_ptr<QMenu> SyncPlayListsActionListDlg::BuildContextMenu(const QPoint& globalPoint) {
    if (!m_view->rect().contains(m_view->mapFromGlobal(globalPoint)))
        return nullptr;
    return m_menu->Build();
}

void SyncPlayListsActionListDlg::OnCommand(int id) {
    m_menu->OnCommand(id);
}

void SyncPlayListsActionListDlg::paintEvent(QPaintEvent* event) {
    ActionListDialog::paintEvent(event);
    QPainter painter(this);
    const QRect view = m_splitter->geometry();
    const int right = view.right() + kLineBeyondView;
    painter.fillRect(0, kBandTop, right, kBandBottom - kBandTop, Qt::white);
    painter.setPen(kViewLineColor);
    painter.drawLine(0, view.bottom() + 1, right, view.bottom() + 1);
}
