#pragma once
// Shows a sync's action list for confirmation. The desktop program opens its action-list dialog; a
// headless presenter answers from a script.

class ASync;
struct SyncActionTexts;

class SyncActionPresenter {
public:
    virtual ~SyncActionPresenter() = default;
    // Runs on the sync's worker thread and returns once the user has decided: true when confirmed. It
    // may switch actions on and off and apply ASync::ChangeAction; it never adds, removes or reorders
    // actions.
    virtual bool ConfirmActions(ASync& sync, const SyncActionTexts& texts) = 0;
};
