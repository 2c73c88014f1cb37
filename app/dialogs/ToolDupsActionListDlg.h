#pragma once
// The duplicates tool's list: every group of copies of one song as consecutive rows with the files'
// details, a check box per group (act on this group) and a "Keep" radio per row (the copy that stays).
// The tool removes, in each checked group, the copies that are not kept.

#include "app/dialogs/ActionListDialog.h"
#include "library/songlists/ToolActionPresenter.h"

#include <memory>
#include <utility>
#include <vector>

class DuplicatesListModel;
class ToolDupsActionList;

class ToolDupsActionListDlg : public ActionListDialog {
public:
    // Below this the two shared columns keep a width of their own and the list scrolls sideways.
    static constexpr int kLeastSharedWidth = 200;
    static constexpr int kSharedColumnFloor = 100;

    explicit ToolDupsActionListDlg(const ToolActionListRequest& request);
    ~ToolDupsActionListDlg() override;

    std::unique_ptr<QMenu> BuildContextMenu(const QPoint& globalPoint) override;
    void OnCommand(int id) override;

    ToolDupsActionList& View() const { return *m_view; }
    DuplicatesListModel& Model() const { return *m_model; }

protected:
    void LayoutColumns() override;

private:
    void RewriteTitle();
    // The width of a column's widest cell or of its header, at least `least`.
    int FittedWidth(int column, int least) const;
    void FitColumns();

    std::unique_ptr<DuplicatesListModel> m_model;
    std::unique_ptr<ToolDupsActionList> m_view;
    // The fixed columns' widths, fitted once when the window opens.
    std::vector<std::pair<int, int>> m_fixedWidths;
};
