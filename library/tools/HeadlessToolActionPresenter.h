#pragma once
// Shows action lists where there is no window: it keeps what it was shown and answers from a script.
// Without a scripted answer a list is not confirmed, so that nothing is changed unasked.

#include "library/songlists/ToolActionPresenter.h"

#include <deque>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <vector>

class HeadlessToolActionPresenter : public ToolActionPresenter {
public:
    // One list as it was shown, before the scripted changes: copies of the rows, whose kept rows are
    // given by their index in `rows` (-1 for none) in `keptRows`.
    struct ShownList {
        bool duplicates = false;
        uint32_t kind = kToolAddSongFiles;
        AString title;
        std::vector<SongToolAction> rows;
        std::vector<int> keptRows;
        std::vector<AString> actionNames;
        AArray* addActions = nullptr;
    };

    // The answers to the next lists, in order: true confirms.
    void QueueAnswers(std::initializer_list<bool> answers);
    // What the user changes before answering (clears `checked`, moves a keep with MakeKeptRow).
    void SetEdit(std::function<void(SongToolActions& rows)> edit);
    std::vector<ShownList> Shown() const;

    bool ShowActionList(const ToolActionListRequest& request) override;
    bool ShowDuplicatesList(const ToolActionListRequest& request) override;

private:
    bool Show(const ToolActionListRequest& request, bool duplicates);
    static ShownList Snapshot(const ToolActionListRequest& request, bool duplicates);

    mutable std::mutex m_lock;
    std::deque<bool> m_answers;
    std::function<void(SongToolActions& rows)> m_edit;
    std::vector<ShownList> m_shown;
};
