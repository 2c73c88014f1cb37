#include "app/dialogs/SyncActionMenu.h"

#include "app/dialogs/ActionFilterNames.h"
#include "app/dialogs/ActionListView.h"
#include "app/dialogs/SyncActionListModel.h"
#include "library/songlists/ADir.h"
#include "sync/ASync.h"
#include "sync/SyncAction.h"
#include "sync/SyncActionTexts.h"
#include "widgets/QtText.h"

#include <QMenu>
#include <numeric>

namespace {

constexpr int kFiltersPerDirection = 7;
constexpr int kDisplayIndexesWithAll = 10;
constexpr int kChangesOfIndexes = 6; // changes 0-5 each belong to the display index of their number

QAction* AddEntry(QMenu& menu, const QString& text, int id) {
    QAction* action = menu.addAction(text);
    action->setData(id);
    return action;
}

QString FilterName(int filter) {
    return QString::fromLatin1(kActionFilterNames[filter]);
}

} // namespace

SyncActionMenu::SyncActionMenu(ActionListView& view, SyncActionListModel& model)
    : m_view(view), m_model(model) {}

bool SyncActionMenu::HasFolderSide() const {
    return m_sync && (m_sync->GetDirectory1().GetType() == ADir::kTypeDir ||
                      m_sync->GetDirectory2().GetType() == ADir::kTypeDir);
}

std::unique_ptr<QMenu> SyncActionMenu::Build() const {
    auto main = std::make_unique<QMenu>();
    auto* check = new QMenu(QStringLiteral("Check Items"), main.get());
    auto* uncheck = new QMenu(QStringLiteral("Uncheck Items"), main.get());
    AddSelectionEntries(*main, *check, *uncheck);
    const int uncheckOffset = kFiltersPerDirection;
    for (int filter = kFilterCopies; filter <= kFilterDeleteFolders; ++filter) {
        if ((filter == kFilterCreateFolders || filter == kFilterDeleteFolders) && !HasFolderSide())
            continue;
        AddEntry(*check, FilterName(filter), kFirstCommand + filter);
        AddEntry(*uncheck, FilterName(filter), kFirstCommand + uncheckOffset + filter);
    }
    check->addSeparator();
    uncheck->addSeparator();
    AddEntry(*check, FilterName(kFilterAll), kCheckAll);
    AddEntry(*uncheck, FilterName(kFilterAll), kUncheckAll);
    main->addMenu(check);
    main->addMenu(uncheck);
    return main;
}

// The entries of the selection, when a row with an action is selected at the selection mark: the
// changes of its kind, and the selection's or its kind's check entries.
void SyncActionMenu::AddSelectionEntries(QMenu& main, QMenu& check, QMenu& uncheck) const {
    const int mark = m_view.SelectionMark();
    const SyncAction* marked = mark >= 0 ? m_model.ActionAt(mark) : nullptr;
    if (!marked || !m_texts)
        return;
    const std::vector<int> selected = m_view.SelectedRows();
    const uint32_t index = marked->displayIndex;
    bool alike = true;
    for (const int row : selected) {
        const SyncAction* action = m_model.ActionAt(row);
        alike = alike && action && action->displayIndex == index;
    }
    if (m_sync && index < static_cast<uint32_t>(kChangesOfIndexes)) {
        AddChangeEntry(main, static_cast<int>(index), alike);
        main.addSeparator();
    } else if (m_sync && index == kUndefinedPair) {
        AddChangeEntry(main, kChangeUndefinedToReplaceIn1, alike);
        AddChangeEntry(main, kChangeUndefinedToReplaceIn2, alike);
        main.addSeparator();
    }
    if (selected.size() >= 2) {
        AddEntry(check, FilterName(kFilterSelected), kFirstCommand + kFilterSelected);
        AddEntry(uncheck, FilterName(kFilterSelected),
                 kFirstCommand + kFiltersPerDirection + kFilterSelected);
    } else if (index < static_cast<uint32_t>(kDisplayIndexesWithAll)) {
        const QString all = ToQString(m_texts->texts[SyncActionTexts::kAllTextsStart + index]);
        AddEntry(check, all, kFirstAllOfIndexCheck + static_cast<int>(index));
        AddEntry(uncheck, all, kFirstAllOfIndexUncheck + static_cast<int>(index));
    }
    check.addSeparator();
    uncheck.addSeparator();
}

void SyncActionMenu::AddChangeEntry(QMenu& main, int change, bool enabled) const {
    const QString text = ToQString(m_texts->texts[SyncActionTexts::kChangeTextsStart + change]);
    AddEntry(main, text, kFirstChange + change)->setEnabled(enabled);
}

bool SyncActionMenu::OnCommand(int id) {
    if (id < kFirstCommand || id > kLastCommand)
        return false;
    if (id < kFirstAllOfIndexCheck) {
        const int offset = id - kFirstCommand;
        CheckByFilter(offset % kFiltersPerDirection, offset < kFiltersPerDirection);
    } else if (id < kFirstChange) {
        const int offset = id - kFirstAllOfIndexCheck;
        CheckByDisplayIndex(offset % kDisplayIndexesWithAll, offset < kDisplayIndexesWithAll);
    } else {
        ApplyChange(id - kFirstChange);
    }
    return true;
}

std::vector<int> SyncActionMenu::RowsWhere(const std::vector<int>& candidates,
                                           const std::function<bool(const SyncAction&)>& qualifies) const {
    std::vector<int> rows;
    for (const int row : candidates) {
        const SyncAction* action = m_model.ActionAt(row);
        if (action && qualifies(*action))
            rows.push_back(row);
    }
    return rows;
}

std::vector<int> SyncActionMenu::AllRows() const {
    std::vector<int> rows(m_model.rowCount());
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

void SyncActionMenu::CheckByFilter(int filter, bool checked) {
    if (filter == kFilterSelected) {
        m_model.SetChecks(RowsWhere(m_view.SelectedRows(),
                                    [](const SyncAction& action) { return action.code != kActionUndefined; }),
                          checked);
        return;
    }
    m_model.SetChecks(RowsWhere(AllRows(),
                                [filter](const SyncAction& action) {
                                    return filter == kFilterAll ||
                                           action.code == static_cast<uint32_t>(filter);
                                }),
                      checked);
}

void SyncActionMenu::CheckByDisplayIndex(int displayIndex, bool checked) {
    m_model.SetChecks(RowsWhere(AllRows(),
                                [displayIndex](const SyncAction& action) {
                                    return action.displayIndex == static_cast<uint32_t>(displayIndex);
                                }),
                      checked);
}

void SyncActionMenu::ApplyChange(int change) {
    if (m_sync)
        m_model.ApplyChange(*m_sync, m_view.SelectedRows(), change);
}
