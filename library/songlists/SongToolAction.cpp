#include "library/songlists/SongToolAction.h"

#include "library/songlists/ADir.h"

#include <iterator>

namespace {

struct ListTitle {
    const char* tool;
    const char* iTunesSide;
    const char* podSide;
};

// By SongToolKind; the sync's add list shares the title of adding song files.
constexpr ListTitle kListTitles[] = {
    {"Add Song File(s) ", "To iTunes - Files to Add", "To iPod - Files to Add"},
    {"Add Disconnected Files ", "In iTunes - Files to Add", "In iPod - Files to Add"},
    {"Remove Disconnected Files ", "In iTunes - Files to Remove", "In iPod - Files to Remove"},
    {"Remove Duplicates ", "From iTunes - Songs to Remove", "From iPod - Songs to Remove"},
    {"Remove Music Not Owned ", "From iTunes - Songs to Remove", "From iPod - Songs to Remove"},
    {"Remove Orphans ", "From iTunes - Entries to Remove", "From iPod - Entries to Remove"},
    {"Save Album Art to Music Files ", "In iTunes - Files to Modify", "In iPod - Files to Modify"},
};

} // namespace

void MakeKeptRow(SongToolActions& rows, size_t index) {
    SongToolAction& kept = *rows.at(index);
    const auto inGroup = [&kept](const SongToolAction& row) {
        return row.kind == kToolRemoveDuplicates && row.group == kept.group;
    };
    size_t first = index;
    while (first > 0 && inGroup(*rows[first - 1]))
        --first;
    size_t end = index + 1;
    while (end < rows.size() && inGroup(*rows[end]))
        ++end;
    for (size_t i = first; i < end; ++i) {
        rows[i]->keep = 0;
        rows[i]->keptRow = &kept;
    }
    kept.keep = 1;
    kept.keptRow = nullptr;
}

AString ToolActionListTitle(uint32_t kind, uint32_t sourceType) {
    if (kind == kToolAddSongsList)
        kind = kToolAddSongFiles;
    if (kind >= std::size(kListTitles))
        return AString();
    const ListTitle& title = kListTitles[kind];
    AString text(title.tool);
    if (sourceType == ADir::kTypeTunes)
        text += title.iTunesSide;
    else if (sourceType == ADir::kTypePod || sourceType == ADir::kTypePodDB)
        text += title.podSide;
    return text;
}

const std::vector<AString>& AddSongActionNames() {
    static const std::vector<AString> names = {
        AString("Add Song File"),
        AString("Add Song File"),
        AString("Delete Song File"),
        AString("Delete Song File"),
        AString("Replace Song File"),
        AString("Replace Song File"),
        AString(),
        AString(),
        AString(),
        AString(),
        AString("Undefined"),
    };
    return names;
}
