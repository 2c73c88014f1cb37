#pragma once
// Entry texts name a song in its song list: "\" [genre "\"] artist ["\" album] ["\" track] "\" title
// ["\" type] ["?" id]. They are not file paths: their levels are always joined with '\'.

#include "foundation/AString.h"

#include <cstdint>

constexpr char16_t kEntryLevelSeparator = u'\\';
constexpr char16_t kEntryIdSeparator = u'?';

// Joins with exactly one '\' at the seam, as a path join would.
void AppendEntryLevel(AString& entry, const AString& level);
// A tag value as a level: sanitised with '_' and "*" when empty.
AString EntryLevel(const AString& value);
// The entry without its "?" tail (cut at the last '?'); a text without '?' is taken whole.
AString EntryWithoutId(const AString& entry);
// The pairing order of song entries: their keys (the text up to and including the last '?') compared
// with A-Z folded; a text without '?' compares as if one followed it. Lists sorted by their whole entry
// texts are in this order too, because '?' only starts the id tail: so every song list, whatever it
// keeps, walks in step with the others.
int CompareEntryKeys(const AString& a, const AString& b);
// The signed decimal number after the last '?'; false when there is none or it is not a number.
bool ParseEntryId(const AString& entry, int64_t& id);

// Splits an entry into its levels (a leading '\' is skipped, the "?" tail is dropped) and reads them
// in the order of the layout words.
struct EntryLevels {
    AString genre;
    AString artist;
    AString album;
    AString track;
    AString title;
    AString type;
};

struct EntryLayout {
    bool genre = true;
    bool album = true;
    bool track = false;
    bool type = true;
};

// The title runs to the next '\' when there is a type level, else to the end.
EntryLevels SplitEntry(const AString& entry, const EntryLayout& layout);

// The folder pattern of a layout: "*\*\*\" with genre and album levels, "*\" with neither, else "*\*\".
AString FolderPatternFor(uint32_t genreLevel, uint32_t albumLevel);
