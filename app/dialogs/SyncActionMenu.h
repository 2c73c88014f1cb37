#pragma once
// The context menu of a list of sync actions and its commands, shared by the sync's action list and the
// playlist sync's: the change entries of the selected actions' kind (through ASync::ChangeAction),
// and the check and uncheck submenus (the selection, all actions of one kind, of one code, or all).
//
// Command ids: 30000-30006 check and 30007-30013 uncheck, by (id - 30000) mod 7: the selected rows
// (but undefined ones), the rows of action code 1 to 5, every row; 30014-30023 check and 30024-30033
// uncheck the rows of display index (id - 30014) mod 10; 30034-30041 apply change id - 30034.

#include <functional>
#include <memory>
#include <vector>

class ASync;
class ActionListView;
class QMenu;
class SyncActionListModel;
struct SyncAction;
struct SyncActionTexts;

class SyncActionMenu {
public:
    static constexpr int kFirstCommand = 30000;
    static constexpr int kCheckAll = 30006;
    static constexpr int kUncheckAll = 30013;
    static constexpr int kFirstAllOfIndexCheck = 30014;
    static constexpr int kFirstAllOfIndexUncheck = 30024;
    static constexpr int kFirstChange = 30034;
    static constexpr int kLastCommand = 30041;

    SyncActionMenu(ActionListView& view, SyncActionListModel& model);

    // The sync whose actions the list shows; without one there are no change and no folder entries.
    void SetSync(ASync* sync) { m_sync = sync; }
    void SetTexts(const SyncActionTexts* texts) { m_texts = texts; }

    std::unique_ptr<QMenu> Build() const;
    // True when the id is one of the menu's commands.
    bool OnCommand(int id);

private:
    void AddSelectionEntries(QMenu& main, QMenu& check, QMenu& uncheck) const;
    void AddChangeEntry(QMenu& main, int change, bool enabled) const;
    bool HasFolderSide() const;
    // The rows among the candidates that have an action that qualifies.
    std::vector<int> RowsWhere(const std::vector<int>& candidates,
                               const std::function<bool(const SyncAction&)>& qualifies) const;
    std::vector<int> AllRows() const;
    void CheckByFilter(int filter, bool checked);
    void CheckByDisplayIndex(int displayIndex, bool checked);
    void ApplyChange(int change);

    ActionListView& m_view;
    SyncActionListModel& m_model;
    ASync* m_sync = nullptr;
    const SyncActionTexts* m_texts = nullptr;
};
