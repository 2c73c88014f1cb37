#pragma once
// "Tool Actions to Perform": the rows a library tool found (or the songs a sync is about to add), for the
// user to check and confirm before the tool acts on the checked ones. The mode is the tool's kind; in
// mode 7 the rows are sync actions. In "Remove Music Not Owned" a row's Apple ID can be added to the
// user's own, which takes every row of that Apple ID off the list.

#include "app/dialogs/ActionListDialog.h"
#include "library/songlists/ToolActionPresenter.h"

#include <memory>

class ActionListModel;
class ActionListView;
class AppleIdList;
class SyncActionListModel;
class ToolActionListModel;

class ToolActionListDlg : public ActionListDialog {
public:
    // The command of "Add AppleID to list"; the check commands are ItemCheckMenu's.
    static constexpr int kAddAppleId = 30004;
    static constexpr int kAppleIdColumnWidth = 150;

    // The request's kind is the mode; its title (or "Tool Actions to Perform") heads the window.
    explicit ToolActionListDlg(const ToolActionListRequest& request);
    ~ToolActionListDlg() override;

    // Where "Add AppleID to list" adds; without one the entry changes nothing.
    void SetAppleIdList(AppleIdList* appleIds) { m_appleIds = appleIds; }

    std::unique_ptr<QMenu> BuildContextMenu(const QPoint& globalPoint) override;
    void OnCommand(int id) override;

    ActionListView& View() const { return *m_view; }
    ActionListModel& Model() const;

protected:
    void LayoutColumns() override;

private:
    void ShowRows(const ToolActionListRequest& request);
    void RewriteTitle();
    void AddAppleIdOfMark();

    uint32_t m_mode;
    // The models before the view, which goes first.
    std::unique_ptr<ToolActionListModel> m_toolModel;
    std::unique_ptr<SyncActionListModel> m_addModel;
    std::unique_ptr<ActionListView> m_view;
    AppleIdList* m_appleIds = nullptr;
};
