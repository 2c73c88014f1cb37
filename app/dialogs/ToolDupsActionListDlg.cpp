#include "app/dialogs/ToolDupsActionListDlg.h"

#include "app/dialogs/ActionListView.h"
#include "app/dialogs/DuplicatesListModel.h"
#include "app/dialogs/ItemCheckMenu.h"
#include "app/dialogs/ToolDupsActionList.h"
#include "app/dialogs/ToolListTitle.h"
#include "widgets/QtText.h"

#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <array>

namespace {

struct FixedWidth {
    int column;
    int width; // the least width; wider where the header or a cell needs it
};

constexpr std::array<FixedWidth, 8> kFixedWidths = {{
    {DuplicatesListModel::kCheckColumn, ActionListView::kCheckColumnWidth},
    {DuplicatesListModel::kKeepColumn, 39},
    {DuplicatesListModel::kDateColumn, 140},
    {DuplicatesListModel::kSizeColumn, 80},
    {DuplicatesListModel::kDurationColumn, 56},
    {DuplicatesListModel::kBitRateColumn, 47},
    {DuplicatesListModel::kAppleIdColumn, 140},
    {DuplicatesListModel::kAlbumArtColumn, 62},
}};

} // namespace

ToolDupsActionListDlg::ToolDupsActionListDlg(const ToolActionListRequest& request)
    : ActionListDialog(kListTemplate, ItemCheckMenu::kCheckAll, ItemCheckMenu::kUncheckAll),
      m_model(std::make_unique<DuplicatesListModel>()), m_view(std::make_unique<ToolDupsActionList>(this)) {
    SetBaseTitle(ToolListTitle(request.title));
    m_view->setObjectName(QStringLiteral("ctl_1035"));
    m_view->setGeometry(Pixels(kListTemplate.list));
    m_view->SetDuplicatesModel(m_model.get());
    m_view->SetFixedColumns({DuplicatesListModel::kCheckColumn, DuplicatesListModel::kKeepColumn});
    m_view->SetSortableColumns({DuplicatesListModel::kCheckColumn, DuplicatesListModel::kSongColumn,
                                DuplicatesListModel::kFileColumn});
    m_model->SetChecksChanged([this] { RewriteTitle(); });
    m_model->SetRows(request.rows);
    SetListArea(m_view.get(), m_view.get());
    FitColumns();
    FinishOpening();
    m_view->setFocus();
}

ToolDupsActionListDlg::~ToolDupsActionListDlg() = default;

void ToolDupsActionListDlg::RewriteTitle() {
    WriteCountTitle(m_model->CheckedCount(), m_model->GroupCount(), "items");
}

int ToolDupsActionListDlg::FittedWidth(int column, int least) const {
    return std::max(least, m_view->FittingWidth(column));
}

// The fixed columns fit their headers and cells; the window opens wide enough for song and file to
// fit theirs too, as far as the screen allows.
void ToolDupsActionListDlg::FitColumns() {
    int wanted = 2 * m_view->frameWidth() + m_view->verticalScrollBar()->sizeHint().width();
    for (const FixedWidth& fixed : kFixedWidths) {
        const int width = FittedWidth(fixed.column, fixed.width);
        m_fixedWidths.push_back({fixed.column, width});
        wanted += width;
    }
    // The two share evenly what the fixed columns leave.
    wanted += 2 * std::max(FittedWidth(DuplicatesListModel::kSongColumn, kSharedColumnFloor),
                           FittedWidth(DuplicatesListModel::kFileColumn, kSharedColumnFloor));
    const int room = screen() ? screen()->availableGeometry().width() : wanted;
    resize(std::max(width(), std::min(wanted, room)), height());
}

// Song and file share the rest; narrower than the least shared width they keep a floor each.
void ToolDupsActionListDlg::LayoutColumns() {
    for (const auto& [column, width] : m_fixedWidths)
        m_view->setColumnWidth(column, width);
    const int rest =
        m_view->RestOfWidth({DuplicatesListModel::kSongColumn, DuplicatesListModel::kFileColumn});
    if (rest > kLeastSharedWidth) {
        m_view->ShareRestOfWidth(DuplicatesListModel::kSongColumn, DuplicatesListModel::kFileColumn,
                                 DuplicatesListModel::kCheckColumn);
        return;
    }
    m_view->setColumnWidth(DuplicatesListModel::kSongColumn, kSharedColumnFloor);
    m_view->setColumnWidth(DuplicatesListModel::kFileColumn, kSharedColumnFloor);
}

std::unique_ptr<QMenu> ToolDupsActionListDlg::BuildContextMenu(const QPoint&) {
    auto main = std::make_unique<QMenu>();
    ItemCheckMenu::AddSubmenus(*main, m_view->SelectedRows().size());
    return main;
}

void ToolDupsActionListDlg::OnCommand(int id) {
    ItemCheckMenu::OnCommand(id, *m_view, *m_model);
}
