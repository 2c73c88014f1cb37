#pragma once
// An action-list presenter without a window: a script decides (and may edit the actions first).
// Without a script every list is refused, so that nothing unconfirmed is ever performed.

#include "sync/SyncActionPresenter.h"

#include <functional>

class HeadlessActionPresenter : public SyncActionPresenter {
public:
    using Script = std::function<bool(ASync& sync, const SyncActionTexts& texts)>;

    HeadlessActionPresenter() = default;
    explicit HeadlessActionPresenter(Script script) : m_script(std::move(script)) {}

    static HeadlessActionPresenter& Refusing();

    bool ConfirmActions(ASync& sync, const SyncActionTexts& texts) override;
    int GetShownCount() const { return m_shown; }

private:
    Script m_script;
    int m_shown = 0;
};
