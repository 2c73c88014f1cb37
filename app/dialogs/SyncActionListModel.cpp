#include "app/dialogs/SyncActionListModel.h"

#include "app/dialogs/DialogPictures.h"
#include "sync/ASync.h"
#include "sync/SyncAction.h"
#include "widgets/QtText.h"
#include "widgets/Skin.h"

#include <algorithm>

namespace {

// ASync::CompareActions' columns.
constexpr int kCompareEnabled = 0;
constexpr int kCompareText1 = 1;
constexpr int kCompareAction = 2;
constexpr int kCompareText2 = 3;

const QString kMetaDataOnly = QStringLiteral("Meta Data Only");

} // namespace

SyncActionListModel::Look SyncActionListModel::SyncLook() {
    return {{Cell::kCheck, Cell::kText1, Cell::kAction, Cell::kText2}, skin::kActionStrip, true, true, false};
}

SyncActionListModel::Look SyncActionListModel::PlayListLook() {
    Look look = SyncLook();
    look.metaDataOnly = true;
    return look;
}

SyncActionListModel::Look SyncActionListModel::AddSongsLook() {
    return {{Cell::kCheck, Cell::kAction, Cell::kSong}, skin::kToolActionStrip, false, false, false};
}

SyncActionListModel::SyncActionListModel(Look look)
    : ActionListModel(QStringList(static_cast<int>(look.columns.size()), QString())),
      m_look(std::move(look)) {}

void SyncActionListModel::SetActions(std::vector<SyncAction*> actions) {
    m_actions = std::move(actions);
    Fill();
}

void SyncActionListModel::ShowErrorRow(const QString& text) {
    m_errorText = text;
    SetActions({nullptr});
}

void SyncActionListModel::SetPairMode(int mode, const QString& name) {
    m_pairMode = mode;
    m_pairModeName = name;
}

int SyncActionListModel::UndefinedCount() const {
    return CountRows([](const SyncAction& action) { return action.code == kActionUndefined; });
}

int SyncActionListModel::ActionRowCount() const {
    return CountRows([](const SyncAction&) { return true; });
}

int SyncActionListModel::CountRows(const std::function<bool(const SyncAction&)>& counts) const {
    int count = 0;
    for (int row = 0; row < ListRowCount(); ++row) {
        const SyncAction* action = ActionAt(row);
        count += action && counts(*action);
    }
    return count;
}

QColor SyncActionListModel::CodeColor(uint32_t code) {
    switch (code) {
    case kActionCopy:
    case kActionCreateFolder:
        return QColor(0, 128, 0);
    case kActionDelete:
    case kActionDeleteFolder:
        return QColor(255, 0, 0);
    case kActionReplace:
        return QColor(255, 128, 0);
    case kActionUndefined:
        return QColor(0, 0, 255);
    default:
        return {};
    }
}

bool SyncActionListModel::SourceChecked(int source) const {
    return m_actions[source]->enabled != 0;
}

void SyncActionListModel::WriteCheck(int source, bool checked) {
    SyncAction& action = *m_actions[source];
    const bool refused = m_look.refuseUndefined && action.code == kActionUndefined;
    action.enabled = checked && !refused ? 1 : 0;
}

int SyncActionListModel::ApplyChange(ASync& sync, const std::vector<int>& rows, int change) {
    const bool decidesUndefined =
        change == kChangeUndefinedToReplaceIn2 || change == kChangeUndefinedToReplaceIn1;
    std::vector<int> changed;
    std::vector<int> decided;
    for (const int row : rows) {
        SyncAction* action = ActionAt(row);
        if (!action)
            continue;
        const uint32_t indexBefore = action->displayIndex;
        sync.ChangeAction(*action, change);
        if (action->displayIndex == indexBefore)
            continue;
        changed.push_back(row);
        if (decidesUndefined)
            decided.push_back(row);
    }
    RowsEdited(changed);
    if (!decided.empty())
        SetChecks(decided, true);
    return static_cast<int>(changed.size());
}

QString SyncActionListModel::Text2Of(const SyncAction& action) const {
    if (m_look.metaDataOnly && action.code == kActionReplace && action.fieldsOnly)
        return kMetaDataOnly;
    return ToQString(action.text2);
}

bool SyncActionListModel::ShowsPairMode(const SyncAction& action) const {
    return m_pairMode >= 0 && action.displayIndex >= kNoActionPair;
}

QString SyncActionListModel::SymbolName(const SyncAction& action) const {
    if (ShowsPairMode(action))
        return m_pairModeName;
    if (action.displayIndex >= kActionTextCount)
        return {};
    return m_actionTexts[action.displayIndex];
}

QVariant SyncActionListModel::CellData(int source, int column, int role) const {
    const Cell cell = m_look.columns[column];
    const SyncAction* action = m_actions[source];
    if (action)
        return ActionCellData(*action, cell, role);
    if (role == Qt::DisplayRole && cell == Cell::kText1)
        return m_errorText;
    return {};
}

QVariant SyncActionListModel::ActionCellData(const SyncAction& action, Cell cell, int role) const {
    switch (role) {
    case Qt::DisplayRole:
        if (cell == Cell::kText1 || cell == Cell::kSong)
            return ToQString(action.text1);
        if (cell == Cell::kText2)
            return Text2Of(action);
        return {};
    case Qt::ForegroundRole: {
        const QColor color = CodeColor(action.code);
        return color.isValid() ? QVariant(color) : QVariant();
    }
    case kImageRole:
        if (cell != Cell::kAction)
            return {};
        if (ShowsPairMode(action))
            return dialogpictures::StripImage(skin::kSyncModeStrip, 2 * m_pairMode);
        return dialogpictures::StripImage(m_look.stripId, 2 * static_cast<int>(action.displayIndex));
    case Qt::ToolTipRole:
        if (cell == Cell::kAction)
            return SymbolName(action);
        if (!m_look.textTooltips)
            return {};
        if (cell == Cell::kText1)
            return ToQString(action.text1);
        if (cell == Cell::kText2)
            return Text2Of(action);
        return {};
    default:
        return {};
    }
}

int SyncActionListModel::CompareColumnOf(int column) const {
    switch (m_look.columns[column]) {
    case Cell::kCheck:
        return kCompareEnabled;
    case Cell::kText1:
        return kCompareText1;
    case Cell::kAction:
        return kCompareAction;
    case Cell::kText2:
        return kCompareText2;
    case Cell::kSong:
        return kCompareText1;
    }
    return kCompareEnabled;
}

int SyncActionListModel::CompareSources(int a, int b, int column, bool ascending) const {
    const SyncAction* first = m_actions[a];
    const SyncAction* second = m_actions[b];
    if (!first || !second)
        return static_cast<int>(first == nullptr) - static_cast<int>(second == nullptr);
    return ASync::CompareActions(*first, *second, CompareColumnOf(column), ascending);
}
