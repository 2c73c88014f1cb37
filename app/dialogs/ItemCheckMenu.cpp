#include "app/dialogs/ItemCheckMenu.h"

#include "app/dialogs/ActionFilterNames.h"
#include "app/dialogs/ActionListModel.h"
#include "app/dialogs/ActionListView.h"

#include <QMenu>

namespace {

void AddEntry(QMenu& menu, int filter, int id) {
    menu.addAction(QString::fromLatin1(kActionFilterNames[filter]))->setData(id);
}

} // namespace

void ItemCheckMenu::AddSubmenus(QMenu& main, size_t selectedRows) {
    auto* check = new QMenu(QStringLiteral("Check Items"), &main);
    auto* uncheck = new QMenu(QStringLiteral("Uncheck Items"), &main);
    if (selectedRows >= 2) {
        AddEntry(*check, kFilterSelected, kCheckSelected);
        AddEntry(*uncheck, kFilterSelected, kUncheckSelected);
    }
    AddEntry(*check, kFilterAll, kCheckAll);
    AddEntry(*uncheck, kFilterAll, kUncheckAll);
    main.addMenu(check);
    main.addMenu(uncheck);
}

bool ItemCheckMenu::OnCommand(int id, const ActionListView& view, ActionListModel& model) {
    switch (id) {
    case kCheckSelected:
    case kUncheckSelected:
        model.SetChecks(view.SelectedRows(), id == kCheckSelected);
        return true;
    case kCheckAll:
    case kUncheckAll:
        model.SetChecksWhere([](int) { return true; }, id == kCheckAll);
        return true;
    default:
        return false;
    }
}
