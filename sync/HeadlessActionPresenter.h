#pragma once
// An action-list presenter without a window: a script decides (and may edit the actions first).
// Without a script every list is refused, so that nothing unconfirmed is ever performed.

#include "sync/SyncActionPresenter.h"

#include <functional>

class HeadlessActionPresenter : public SyncActionPresenter {
public:
    using Script = std::function<bool(ASync& sync, const SyncActionTexts& texts)>;
    using PlayListScript = std::function<bool(ASyncPlayLists& playLists, const std::vector<ASync*>& songSyncs,
                                              const SyncActionTexts& texts)>;

    HeadlessActionPresenter() = default;
    explicit HeadlessActionPresenter(Script script, PlayListScript playListScript = nullptr)
        : m_script(std::move(script)), m_playListScript(std::move(playListScript)) {}

    static HeadlessActionPresenter& Refusing();

    bool ConfirmActions(ASync& sync, const SyncActionTexts& texts) override;
    bool ConfirmPlayListActions(ASyncPlayLists& playLists, const std::vector<ASync*>& songSyncs,
                                const SyncActionTexts& texts) override;
    // Both kinds of list.
    int GetShownCount() const { return m_shown; }

private:
    Script m_script;
    PlayListScript m_playListScript;
    int m_shown = 0;
};
