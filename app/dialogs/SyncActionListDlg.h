#pragma once
// "Sync Actions to Perform": the actions a sync is about to perform, one row each, for the user to
// switch on and off, turn into their counterparts, sort, and confirm with "Execute" or refuse. It edits
// the caller's actions in place; actions changed here stay changed whichever way the dialog ends.

#include "app/dialogs/ActionListDialog.h"
#include "sync/SyncActionTexts.h"

#include <memory>
#include <vector>

class ASync;
class ActionListView;
class SyncActionListModel;
class SyncActionMenu;
struct SyncAction;

class SyncActionListDlg : public ActionListDialog {
public:
    enum Column { kCheckColumn = 0, kSide1Column = 1, kActionColumn = 2, kSide2Column = 3 };

    SyncActionListDlg();
    ~SyncActionListDlg() override;

    // The actions in the sync's order and the sync that owns them (may be null: then nothing changes
    // an action's kind), and the texts of the two sides, the actions, and the menu entries.
    void SetActionList(std::vector<SyncAction*> actions, ASync* sync, const SyncActionTexts& texts);

    std::unique_ptr<QMenu> BuildContextMenu(const QPoint& globalPoint) override;
    void OnCommand(int id) override;

    // What every list of sync actions shares: its columns (check box and action fixed), the captions
    // and action names of the two sides, and the widths (the two sides share what the others leave).
    static void SetUpSyncColumns(ActionListView& view, SyncActionListModel& model);
    static void SetSideTexts(SyncActionListModel& model, const SyncActionTexts& texts);
    static void LayoutSyncColumns(ActionListView& view);

    ActionListView& View() const { return *m_view; }
    SyncActionListModel& Model() const { return *m_model; }

protected:
    void LayoutColumns() override;

private:
    void RewriteTitle();

    // In this order, so that the view goes before the model it shows.
    std::unique_ptr<SyncActionListModel> m_model;
    std::unique_ptr<ActionListView> m_view;
    std::unique_ptr<SyncActionMenu> m_menu;
    SyncActionTexts m_texts;
};
