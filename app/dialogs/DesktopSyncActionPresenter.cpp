#include "app/dialogs/DesktopSyncActionPresenter.h"

#include "app/dialogs/SyncActionListDlg.h"
#include "app/dialogs/SyncPlayListsActionListDlg.h"
#include "library/songlists/ADir.h"
#include "sync/ASync.h"
#include "sync/ASyncPlayLists.h"

#include <algorithm>

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

// The playlist list names its sides itself, from whether side 2 is another computer's library.
bool DesktopSyncActionPresenter::ConfirmPlayListActions(ASyncPlayLists& playLists,
                                                        const std::vector<ASync*>& songSyncs,
                                                        const SyncActionTexts&) {
    std::vector<PlayListActionEntry> entries;
    const int count = std::min(playLists.GetActionCount(), static_cast<int>(songSyncs.size()));
    for (int index = 0; index < count; ++index)
        entries.push_back({playLists.GetAction(index), songSyncs[static_cast<size_t>(index)], 0});
    const bool remote =
        !songSyncs.empty() && songSyncs.front()->GetDirectory2().GetType() == ADir::kTypeTunesRemote;
    return SyncPlayListsActionListDlg::Confirm(entries, remote) == 0;
}
