#include "library/tools/HeadlessToolActionPresenter.h"

#include <unordered_map>

void HeadlessToolActionPresenter::QueueAnswers(std::initializer_list<bool> answers) {
    std::lock_guard lock(m_lock);
    m_answers.insert(m_answers.end(), answers);
}

void HeadlessToolActionPresenter::SetEdit(std::function<void(SongToolActions& rows)> edit) {
    std::lock_guard lock(m_lock);
    m_edit = std::move(edit);
}

std::vector<HeadlessToolActionPresenter::ShownList> HeadlessToolActionPresenter::Shown() const {
    std::lock_guard lock(m_lock);
    return m_shown;
}

bool HeadlessToolActionPresenter::ShowActionList(const ToolActionListRequest& request) {
    return Show(request, false);
}

bool HeadlessToolActionPresenter::ShowDuplicatesList(const ToolActionListRequest& request) {
    return Show(request, true);
}

bool HeadlessToolActionPresenter::Show(const ToolActionListRequest& request, bool duplicates) {
    std::lock_guard lock(m_lock);
    m_shown.push_back(Snapshot(request, duplicates));
    if (m_edit && request.rows)
        m_edit(*request.rows);
    if (m_answers.empty())
        return false;
    const bool confirmed = m_answers.front();
    m_answers.pop_front();
    return confirmed;
}

HeadlessToolActionPresenter::ShownList
HeadlessToolActionPresenter::Snapshot(const ToolActionListRequest& request, bool duplicates) {
    ShownList shown;
    shown.duplicates = duplicates;
    shown.kind = request.kind;
    shown.title = request.title;
    shown.addActions = request.addActions;
    if (request.actionNames)
        shown.actionNames = *request.actionNames;
    if (!request.rows)
        return shown;
    const SongToolActions& rows = *request.rows;
    std::unordered_map<const SongToolAction*, int> indexOf;
    for (size_t i = 0; i < rows.size(); ++i)
        indexOf[rows[i].get()] = static_cast<int>(i);
    for (const std::unique_ptr<SongToolAction>& row : rows) {
        const auto kept = indexOf.find(row->keptRow);
        shown.keptRows.push_back(kept == indexOf.end() ? -1 : kept->second);
        shown.rows.push_back(*row);
        shown.rows.back().keptRow = nullptr;
    }
    return shown;
}
