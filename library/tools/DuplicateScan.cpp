#include "library/tools/DuplicateScan.h"

#include "foundation/ErrorCodes.h"
#include "library/entries/EntryText.h"
#include "library/songlists/ADirSong.h"
#include "library/tools/FillActionInfo.h"
#include "library/tools/SongFileChecks.h"
#include "library/tools/ToolRun.h"

// The list is walked from its end in pairs of neighbours; the first keeper of a group is its last
// entry. An error of a newcomer to a group is asked about before the next pair.
int DuplicateScan::Run(ToolRun& run) {
    ADirSong& source = run.Source();
    const int count = source.GetCount();
    int step = 1;
    for (int upper = count - 1; upper >= 1; --upper) {
        if (m_error != 0 && source.AskQuitAfterError())
            return m_error;
        const int lower = upper - 1;
        const AString upperEntry = *source.GetEntry(upper);
        const AString lowerEntry = *source.GetEntry(lower);
        run.ShowStep(++step, count);
        if (source.CompareNames(EntryWithoutId(upperEntry), EntryWithoutId(lowerEntry)) != 0)
            m_kept = nullptr;
        else if (!m_kept)
            StartGroup(run, upper, upperEntry, lowerEntry);
        else
            JoinGroup(run, lower, lowerEntry);
        if (run.Cancelled())
            return kUserCancel;
    }
    return m_error;
}

// A pair whose files cannot be named is left out, and is no error.
void DuplicateScan::StartGroup(ToolRun& run, int upper, const AString& upperEntry,
                               const AString& lowerEntry) {
    ADirSong& source = run.Source();
    AString upperPath;
    AString lowerPath;
    m_error = 0;
    if (source.GetFullPath(upperEntry, upperPath, 1) != 0 || upperPath.IsEmpty() ||
        source.GetFullPath(lowerEntry, lowerPath, 1) != 0 || lowerPath.IsEmpty())
        return;
    ++m_group;
    m_kept = &AddRow(run, upperEntry, upper, upperPath);
    m_kept->keep = 1;
    ChooseKeptCopy(run, AddRow(run, lowerEntry, upper - 1, lowerPath));
}

void DuplicateScan::JoinGroup(ToolRun& run, int lower, const AString& lowerEntry) {
    AString lowerPath;
    m_error = run.Source().GetFullPath(lowerEntry, lowerPath, 1);
    if (m_error != 0 || lowerPath.IsEmpty())
        return;
    ChooseKeptCopy(run, AddRow(run, lowerEntry, lower, lowerPath));
}

SongToolAction& DuplicateScan::AddRow(ToolRun& run, const AString& entry, int index, const AString& path) {
    SongToolAction& row = run.AddSongRow(entry);
    row.entryIndex = static_cast<uint32_t>(index);
    row.group = m_group;
    row.fullPath = path;
    FillActionInfo(run.Source(), row);
    return row;
}

// Two entries of one file keep the current copy without asking the rule.
void DuplicateScan::ChooseKeptCopy(ToolRun& run, SongToolAction& newcomer) {
    newcomer.keptRow = m_kept;
    const AString& keptPath = m_kept->fullPath;
    if (IsSameFile(keptPath, newcomer.fullPath) ||
        run.Source().ChooseKeeper(keptPath, newcomer.fullPath) == ADirSong::kKeepFirst)
        return;
    SongToolActions& rows = run.Source().GetToolActions();
    MakeKeptRow(rows, rows.size() - 1);
    m_kept = &newcomer;
}
