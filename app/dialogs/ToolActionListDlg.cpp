#include "app/dialogs/ToolActionListDlg.h"

#include "app/dialogs/ActionListView.h"
#include "app/dialogs/AppleIdList.h"
#include "app/dialogs/ItemCheckMenu.h"
#include "app/dialogs/SyncActionListModel.h"
#include "app/dialogs/ToolActionListModel.h"
#include "app/dialogs/ToolListTitle.h"
#include "foundation/AArray.h"
#include "widgets/QtText.h"

#include <QMenu>

namespace {

const ActionRowDelegate::Colors kColors{QColor(237, 243, 254)};

std::vector<SyncAction*> ActionsOf(const AArray* actions) {
    std::vector<SyncAction*> rows;
    for (int index = 0; actions && index < actions->GetCount(); ++index)
        rows.push_back(reinterpret_cast<SyncAction*>(actions->GetAt(index)));
    return rows;
}

std::array<QString, SyncActionListModel::kActionTextCount> ActionTexts(const std::vector<AString>* names) {
    std::array<QString, SyncActionListModel::kActionTextCount> texts;
    for (size_t index = 0; names && index < names->size() && index < texts.size(); ++index)
        texts[index] = ToQString((*names)[index]);
    return texts;
}

} // namespace

ToolActionListDlg::ToolActionListDlg(const ToolActionListRequest& request)
    : ActionListDialog(kListTemplate, ItemCheckMenu::kCheckAll, ItemCheckMenu::kUncheckAll),
      m_mode(request.kind), m_view(std::make_unique<ActionListView>(this, kColors)) {
    SetBaseTitle(ToolListTitle(request.title));
    m_view->setObjectName(QStringLiteral("ctl_1035"));
    m_view->setGeometry(Pixels(kListTemplate.list));
    ShowRows(request);
    SetListArea(m_view.get(), m_view.get());
    FinishOpening();
    m_view->setFocus();
}

ToolActionListDlg::~ToolActionListDlg() = default;

ActionListModel& ToolActionListDlg::Model() const {
    if (m_addModel)
        return *m_addModel;
    return *m_toolModel;
}

void ToolActionListDlg::ShowRows(const ToolActionListRequest& request) {
    if (m_mode == kToolAddSongsList) {
        m_addModel = std::make_unique<SyncActionListModel>(SyncActionListModel::AddSongsLook());
        m_addModel->SetHeader(1, QStringLiteral("Action"));
        m_addModel->SetHeader(2, QStringLiteral("Song"));
        m_addModel->SetActionTexts(ActionTexts(request.actionNames));
        m_view->SetListModel(m_addModel.get());
        m_view->SetFixedColumns({0, 1});
    } else {
        m_toolModel = std::make_unique<ToolActionListModel>(m_mode);
        m_view->SetListModel(m_toolModel.get());
        m_view->SetFixedColumns({0});
    }
    ActionListModel& model = Model();
    model.SetHeaderAlignment(0, Qt::AlignHCenter);
    model.SetChecksChanged([this] { RewriteTitle(); });
    if (m_addModel)
        m_addModel->SetActions(ActionsOf(request.addActions));
    else
        m_toolModel->SetRows(request.rows);
}

void ToolActionListDlg::RewriteTitle() {
    const ActionListModel& model = Model();
    WriteCountTitle(model.CheckedCount(), model.rowCount(), "items");
}

void ToolActionListDlg::LayoutColumns() {
    m_view->setColumnWidth(0, ActionListView::kCheckColumnWidth);
    if (m_mode == kToolAddSongsList) {
        m_view->setColumnWidth(1, ActionListView::kActionColumnWidth);
        m_view->setColumnWidth(2, m_view->RestOfWidth({2}));
        return;
    }
    if (m_mode == kToolRemoveMusicNotOwned)
        m_view->setColumnWidth(ToolActionListModel::kAppleIdColumn, kAppleIdColumnWidth);
    m_view->setColumnWidth(ToolActionListModel::kSongColumn,
                           m_view->RestOfWidth({ToolActionListModel::kSongColumn}));
}

std::unique_ptr<QMenu> ToolActionListDlg::BuildContextMenu(const QPoint&) {
    auto main = std::make_unique<QMenu>();
    const size_t selected = m_view->SelectedRows().size();
    if (selected == 1 && m_view->SelectionMark() >= 0 && m_mode == kToolRemoveMusicNotOwned)
        main->addAction(QStringLiteral("Add AppleID to list"))->setData(kAddAppleId);
    ItemCheckMenu::AddSubmenus(*main, selected);
    return main;
}

void ToolActionListDlg::OnCommand(int id) {
    if (id == kAddAppleId)
        AddAppleIdOfMark();
    else
        ItemCheckMenu::OnCommand(id, *m_view, Model());
}

// An empty list becomes ":" first, so that every id stands between two colons.
void ToolActionListDlg::AddAppleIdOfMark() {
    const int mark = m_view->SelectionMark();
    if (!m_toolModel || mark < 0 || !m_appleIds)
        return;
    const AString appleId = m_toolModel->RowAt(mark).detail;
    AString appleIds = m_appleIds->GetAppleIDs();
    if (appleIds.IsEmpty())
        appleIds = AString(":");
    appleIds += appleId;
    appleIds += ":";
    m_appleIds->SetAppleIDs(appleIds);
    m_toolModel->RemoveAppleId(appleId);
}
