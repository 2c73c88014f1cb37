#pragma once
// The check and uncheck submenus of the tools' lists, and their commands: the selected rows (offered
// when two or more are selected) or every row.

#include <cstddef>

class ActionListModel;
class ActionListView;
class QMenu;

class ItemCheckMenu {
public:
    enum Command { kCheckSelected = 30000, kCheckAll = 30001, kUncheckSelected = 30002, kUncheckAll = 30003 };

    // Appends "Check Items" and "Uncheck Items" to the menu.
    static void AddSubmenus(QMenu& main, size_t selectedRows);
    // True when the id was one of the commands.
    static bool OnCommand(int id, const ActionListView& view, ActionListModel& model);
};
