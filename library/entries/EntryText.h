#pragma once
// Entry texts name a song in its song list: "\" [genre "\"] artist ["\" album] ["\" track] "\" title
// ["\" type] ["?" id]. They are not file paths: their levels are always joined with '\'. Every song
// list builds them with BuildEntryText, so that the sync engine can pair the songs of two lists.

#include "foundation/AString.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class ID3;

constexpr char16_t kEntryLevelSeparator = u'\\';
constexpr char16_t kEntryIdSeparator = u'?';

// Which levels an entry text holds: the layout words that song lists save, nonzero = the level is
// there. `option` is a fifth word that they keep and hand on with the others; it changes no entry text.
struct EntryLayout {
    uint32_t genre = 1;
    uint32_t album = 1;
    uint32_t track = 0;
    uint32_t type = 1;
    uint32_t option = 0;
};

// The layout of an iTunes client, a playlist and an iPod database until their song list hands them its
// own.
constexpr EntryLayout kInitialFolderLayout{0, 1, 0, 0, 0};

// What an entry text is made of; each song source only fills these.
struct EntryFields {
    AString genre;
    AString artist;
    AString album;
    uint32_t trackNumber = 0;
    AString title; // the title, or the name that stands for it
    AString type;  // the file's extension
    // The size of the song's audio data: asked only when no genre, artist or album names the song.
    std::function<uint64_t()> audioSize;
};

// The same fields lent by a source that keeps its texts: an entry is built without copying them.
struct EntryFieldViews {
    std::u16string_view genre;
    std::u16string_view artist;
    std::u16string_view album;
    uint32_t trackNumber = 0;
    std::u16string_view title;
    std::u16string_view type;
    std::function<uint64_t()> audioSize;
};

// The fields of a song file's tags; its audio size is the one the tags give.
EntryFields EntryFieldsOf(const ID3& tags);

// Each level is trimmed, sanitised with '_' and written "*" when empty. A genre that sanitises to a
// lone '_' names nothing. When the artist is empty and neither the genre nor the album level gives
// text, the artist level is the audio size.
AString BuildEntryText(const EntryFields& fields, const EntryLayout& layout);
// The same text appended to `entry`: a long list builds its entries in one buffer.
void AppendEntryText(std::u16string& entry, const EntryFieldViews& fields, const EntryLayout& layout);
// Appends "?" and the id that names the song inside its list.
void AppendEntryId(AString& entry, int64_t id);
void AppendEntryId(std::u16string& entry, int64_t id);

// The entry text that a path under a list's root names: the root taken off, with the file-path
// separator that joined the two, and a missing leading '\' put back. Entry texts keep '\' where file
// paths use '/', so a joined path carries both between root and entry.
AString EntryBelowRoot(const AString& path, const AString& root);

// The entry without its "?" tail (cut at the last '?'); a text without '?' is taken whole.
AString EntryWithoutId(const AString& entry);
// The pairing order of song entries: their keys (the text up to and including the last '?') compared
// with A-Z folded; a text without '?' compares as if one followed it. Lists sorted by their whole entry
// texts are in this order too, because '?' only starts the id tail: so every song list, whatever it
// keeps, walks in step with the others.
int CompareEntryKeys(const AString& a, const AString& b);
// A key whose plain comparison orders entries as CompareEntryKeys does (the entry key folded, then
// '?'): made once for each entry of a long sort, it spares every comparison the folding.
std::u16string EntrySortKey(const AString& entry);
// The same key appended to `key`, which must not hold `entry`: a long list keeps all its keys in one
// buffer.
void AppendEntrySortKey(std::u16string& key, std::u16string_view entry);
// The key of the entry that `store` holds from entryStart to its end, appended after it.
void AppendTailSortKey(std::u16string& store, size_t entryStart);
// The plain order of two such keys, which is the order of their entries.
int CompareSortKeys(std::u16string_view a, std::u16string_view b);
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

// The title runs to the next '\' when there is a type level, else to the end.
EntryLevels SplitEntry(const AString& entry, const EntryLayout& layout);

// The folder pattern of a layout: "*\*\*\" with genre and album levels, "*\" with neither, else "*\*\".
AString FolderPatternFor(const EntryLayout& layout);
