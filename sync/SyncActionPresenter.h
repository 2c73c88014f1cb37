#pragma once
// Shows a sync's action list for confirmation. The desktop program opens its action-list dialogs; a
// headless presenter answers from a script.

#include <vector>

class ASync;
class ASyncPlayLists;
struct SyncActionTexts;

class SyncActionPresenter {
public:
    virtual ~SyncActionPresenter() = default;
    // Runs on the sync's worker thread and returns once the user has decided: true when confirmed. It
    // may switch actions on and off and apply ASync::ChangeAction; it never adds, removes or reorders
    // actions.
    virtual bool ConfirmActions(ASync& sync, const SyncActionTexts& texts) = 0;
    // The playlist actions of a sync set's run with, for each, its song sync (element i for action i);
    // the same rules for what may change, in the playlist sync and in each song sync.
    virtual bool ConfirmPlayListActions(ASyncPlayLists& playLists, const std::vector<ASync*>& songSyncs,
                                        const SyncActionTexts& texts) = 0;
};
