#include "app/dialogs/DesktopToolActionPresenter.h"

#include "app/dialogs/ToolActionListDlg.h"
#include "app/dialogs/ToolDupsActionListDlg.h"

bool DesktopToolActionPresenter::ShowActionList(const ToolActionListRequest& request) {
    return ActionListDialog::Confirm([&] {
        auto dialog = std::make_unique<ToolActionListDlg>(request);
        dialog->SetAppleIdList(m_appleIds.load());
        return dialog;
    });
}

bool DesktopToolActionPresenter::ShowDuplicatesList(const ToolActionListRequest& request) {
    return ActionListDialog::Confirm([&] { return std::make_unique<ToolDupsActionListDlg>(request); });
}
