#include "app/dialogs/DesktopSyncActionPresenter.h"

#include "app/dialogs/SyncActionListDlg.h"
#include "sync/ASync.h"

bool DesktopSyncActionPresenter::ConfirmActions(ASync& sync, const SyncActionTexts& texts) {
    std::vector<SyncAction*> actions;
    for (int index = 0; index < sync.GetActionCount(); ++index)
        actions.push_back(sync.GetAction(index));
    return ActionListDialog::Confirm([&] {
        auto dialog = std::make_unique<SyncActionListDlg>();
        dialog->SetActionList(actions, &sync, texts);
        return dialog;
    });
}
