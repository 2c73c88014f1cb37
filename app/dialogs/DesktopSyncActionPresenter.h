#pragma once
// The desktop program's answer to a sync's request for confirmation: the sync action-list dialog, run
// on the GUI thread while the sync's worker waits.

#include "sync/SyncActionPresenter.h"

class DesktopSyncActionPresenter : public SyncActionPresenter {
public:
    bool ConfirmActions(ASync& sync, const SyncActionTexts& texts) override;
    bool ConfirmPlayListActions(ASyncPlayLists& playLists, const std::vector<ASync*>& songSyncs,
                                const SyncActionTexts& texts) override;
};
