#include "app/dialogs/SyncActionListDlg.h"

#include "app/dialogs/ActionListView.h"
#include "app/dialogs/SyncActionListModel.h"
#include "app/dialogs/SyncActionMenu.h"
#include "widgets/QtText.h"

#include <QMenu>

namespace {

const ActionRowDelegate::Colors kColors{QColor(227, 234, 244)};

} // namespace

SyncActionListDlg::SyncActionListDlg()
    : ActionListDialog(kListTemplate, SyncActionMenu::kCheckAll, SyncActionMenu::kUncheckAll),
      m_model(std::make_unique<SyncActionListModel>(SyncActionListModel::SyncLook())),
      m_view(std::make_unique<ActionListView>(this, kColors)),
      m_menu(std::make_unique<SyncActionMenu>(*m_view, *m_model)) {
    SetBaseTitle(QStringLiteral("Sync Actions to Perform"));
    m_view->setGeometry(Pixels(kListTemplate.list));
    SetUpSyncColumns(*m_view, *m_model);
    m_model->SetChecksChanged([this] { RewriteTitle(); });
    SetListArea(m_view.get(), m_view.get());
    FinishOpening();
    m_view->setFocus();
}

SyncActionListDlg::~SyncActionListDlg() = default;

void SyncActionListDlg::SetActionList(std::vector<SyncAction*> actions, ASync* sync,
                                      const SyncActionTexts& texts) {
    m_texts = texts;
    m_menu->SetSync(sync);
    m_menu->SetTexts(&m_texts);
    SetSideTexts(*m_model, m_texts);
    m_model->SetActions(std::move(actions));
    LayoutColumns();
}

void SyncActionListDlg::RewriteTitle() {
    const int undefined = m_model->UndefinedCount();
    WriteCountTitle(m_model->CheckedCount(), m_model->rowCount(), "actions",
                    undefined > 0 ? QStringLiteral(", %1 undefined actions").arg(undefined) : QString());
}

void SyncActionListDlg::SetUpSyncColumns(ActionListView& view, SyncActionListModel& model) {
    view.setObjectName(QStringLiteral("ctl_1035"));
    view.SetListModel(&model);
    view.SetFixedColumns({kCheckColumn, kActionColumn});
    model.SetHeaderAlignment(kCheckColumn, Qt::AlignHCenter);
    model.SetHeader(kActionColumn, QStringLiteral("Action"));
    model.SetHeaderAlignment(kActionColumn, Qt::AlignHCenter);
}

void SyncActionListDlg::SetSideTexts(SyncActionListModel& model, const SyncActionTexts& texts) {
    model.SetHeader(kSide1Column, ToQString(texts.side1Name));
    model.SetHeader(kSide2Column, ToQString(texts.side2Name));
    std::array<QString, SyncActionListModel::kActionTextCount> actionTexts;
    for (int index = 0; index < SyncActionListModel::kActionTextCount; ++index)
        actionTexts[index] = ToQString(texts.texts[index]);
    model.SetActionTexts(actionTexts);
}

void SyncActionListDlg::LayoutSyncColumns(ActionListView& view) {
    view.setColumnWidth(kCheckColumn, ActionListView::kCheckColumnWidth);
    view.setColumnWidth(kActionColumn, ActionListView::kActionColumnWidth);
    view.ShareRestOfWidth(kSide1Column, kSide2Column, kCheckColumn);
}

void SyncActionListDlg::LayoutColumns() {
    LayoutSyncColumns(*m_view);
}

std::unique_ptr<QMenu> SyncActionListDlg::BuildContextMenu(const QPoint&) {
    return m_menu->Build();
}

void SyncActionListDlg::OnCommand(int id) {
    m_menu->OnCommand(id);
}
