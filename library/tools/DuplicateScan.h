#pragma once
// The scan of the duplicate removal: runs of neighbouring entries (of the sorted list) that name the
// same song become groups; the keep rule picks the copy of each group that stays.

#include "foundation/AString.h"
#include "library/tools/ToolScan.h"

#include <cstdint>

struct SongToolAction;

class DuplicateScan : public ToolScan {
public:
    int Run(ToolRun& run) override;

private:
    void StartGroup(ToolRun& run, int upper, const AString& upperEntry, const AString& lowerEntry);
    void JoinGroup(ToolRun& run, int lower, const AString& lowerEntry);
    SongToolAction& AddRow(ToolRun& run, const AString& entry, int index, const AString& path);
    // The keep rule between the group's kept copy and a newcomer; the newcomer's row is the last.
    void ChooseKeptCopy(ToolRun& run, SongToolAction& newcomer);

    SongToolAction* m_kept = nullptr; // the kept row of the open group; null while none is open
    uint32_t m_group = 0;
    int m_error = 0;
};
