#pragma once
// The rows of a sync's actions (`SyncAction`), for the sync's action list, a playlist's song actions
// and a tool's list of songs to add. A row's check box is its action's enabled flag; rows are coloured
// by action code and show the symbol of their display index. A row may stand without an action (the
// "ERROR" row of a playlist that could not be prepared): it shows its text and nothing else, and no
// check or command reaches it.

#include "app/dialogs/ActionListModel.h"

#include <QColor>
#include <QString>
#include <array>
#include <functional>
#include <vector>

class ASync;
struct SyncAction;

class SyncActionListModel : public ActionListModel {
public:
    static constexpr int kActionTextCount = 12;
    // What a list column shows. The add list's song is the file the action takes, which the sync
    // names in the first text.
    enum class Cell { kCheck, kText1, kAction, kText2, kSong };

    struct Look {
        std::vector<Cell> columns;
        int stripId = 0;
        // Undefined actions (code 6) cannot be switched on.
        bool refuseUndefined = true;
        // Tooltips on the text columns too, not only on the symbol.
        bool textTooltips = true;
        // A replace of play data only reads "Meta Data Only" in the Directory 2 column.
        bool metaDataOnly = false;
    };

    // The plain sync's list: check, Directory 1, action, Directory 2.
    static Look SyncLook();
    // A playlist's song actions: as the sync's, with replaces of play data marked.
    static Look PlayListLook();
    // A tool's list of songs to add: check, action, song (the file).
    static Look AddSongsLook();

    explicit SyncActionListModel(Look look);

    // The rows; a null entry is a row without an action, shown with `text` in the first text column.
    void SetActions(std::vector<SyncAction*> actions);
    void ShowErrorRow(const QString& text);
    void SetActionTexts(const std::array<QString, kActionTextCount>& texts) { m_actionTexts = texts; }
    // Rows whose display index lies past "Undefined" show the symbol and name of this sync mode.
    void SetPairMode(int mode, const QString& name);

    // Null for a row without an action.
    SyncAction* ActionAt(int row) const { return m_actions[SourceOf(row)]; }
    int UndefinedCount() const;
    // The rows that have an action.
    int ActionRowCount() const;
    // Applies the sync's change to the rows whose display index it fits; an undefined action that the
    // change decides is switched on. The rows changed.
    int ApplyChange(ASync& sync, const std::vector<int>& rows, int change);

    // The code colours, by action code; invalid for the default text colour.
    static QColor CodeColor(uint32_t code);

protected:
    int SourceCount() const override { return static_cast<int>(m_actions.size()); }
    bool SourceHasCheck(int source) const override { return m_actions[source] != nullptr; }
    bool SourceChecked(int source) const override;
    void WriteCheck(int source, bool checked) override;
    QVariant CellData(int source, int column, int role) const override;
    int CompareSources(int a, int b, int column, bool ascending) const override;

private:
    int CountRows(const std::function<bool(const SyncAction&)>& counts) const;
    QVariant ActionCellData(const SyncAction& action, Cell cell, int role) const;
    QString Text2Of(const SyncAction& action) const;
    QString SymbolName(const SyncAction& action) const;
    bool ShowsPairMode(const SyncAction& action) const;
    int CompareColumnOf(int column) const;

    Look m_look;
    std::vector<SyncAction*> m_actions;
    QString m_errorText;
    std::array<QString, kActionTextCount> m_actionTexts;
    int m_pairMode = -1;
    QString m_pairModeName;
};
