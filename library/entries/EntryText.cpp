#include "library/entries/EntryText.h"

#include "foundation/TextUnits.h"
#include "library/entries/AudioDataSize.h"
#include "library/entries/FileNameRule.h"
#include "library/tags/ID3.h"
#include "platform/files/PathSeparator.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// Trimmed as AString::Trim does, but as a view, so that building an entry copies no level.
std::u16string_view TrimmedView(std::u16string_view text) {
    while (!text.empty() && IsTrimmedSpace(text.back()))
        text.remove_suffix(1);
    while (!text.empty() && IsTrimmedSpace(text.front()))
        text.remove_prefix(1);
    return text;
}

void AppendLevel(std::u16string& entry, std::u16string_view trimmed) {
    entry += kEntryLevelSeparator;
    if (trimmed.empty())
        entry += u'*';
    else
        AppendSanitizedFileName(entry, trimmed, u'_');
}

// False, with "*" written, when the genre cleans to nothing or to a lone '_'.
bool AppendGenreLevel(std::u16string& entry, std::u16string_view trimmed) {
    entry += kEntryLevelSeparator;
    const size_t start = entry.size();
    AppendSanitizedFileName(entry, trimmed, u'_');
    if (entry.size() - start == 1 && entry.back() == u'_')
        entry.pop_back();
    if (entry.size() > start)
        return true;
    entry += u'*';
    return false;
}

// A number's decimal digits, written without a string of their own.
struct Decimal {
    char digits[24];
    const char* end;

    template <typename Number>
    explicit Decimal(Number value) : end(std::to_chars(digits, digits + sizeof digits, value).ptr) {}
};

void AppendNumberLevel(std::u16string& entry, uint64_t value) {
    entry += kEntryLevelSeparator;
    const Decimal number(value);
    entry.append(number.digits, number.end);
}

// Room for the separators, a number level and the "?" tail that most lists append: the entry is then
// allocated once.
constexpr size_t kEntryRoomBeyondLevels = 64;

} // namespace

EntryFields EntryFieldsOf(const ID3& tags) {
    EntryFields fields;
    tags.GetGenre(fields.genre);
    tags.GetArtist(fields.artist);
    tags.GetAlbum(fields.album);
    fields.trackNumber = tags.GetTrackNumber();
    tags.GetDisplayName(fields.title);
    tags.GetExtension(fields.type);
    fields.audioSize = [size = AudioDataSize(tags)] { return size; };
    return fields;
}

AString BuildEntryText(const EntryFields& fields, const EntryLayout& layout) {
    std::u16string entry;
    AppendEntryText(entry,
                    {fields.genre.GetCString(), fields.artist.GetCString(), fields.album.GetCString(),
                     fields.trackNumber, fields.title.GetCString(), fields.type.GetCString(), fields.audioSize},
                    layout);
    return AString(std::move(entry));
}

void AppendEntryText(std::u16string& entry, const EntryFieldViews& fields, const EntryLayout& layout) {
    const std::u16string_view genre = TrimmedView(fields.genre);
    const std::u16string_view artist = TrimmedView(fields.artist);
    const std::u16string_view album = TrimmedView(fields.album);
    const std::u16string_view title = TrimmedView(fields.title);
    const std::u16string_view type = TrimmedView(fields.type);
    entry.reserve(entry.size() + genre.size() + artist.size() + album.size() + title.size() + type.size() +
                  kEntryRoomBeyondLevels);
    const bool genreNames = layout.genre && AppendGenreLevel(entry, genre);
    const bool named = !artist.empty() || genreNames || (layout.album && !album.empty());
    if (named)
        AppendLevel(entry, artist);
    else
        AppendNumberLevel(entry, fields.audioSize ? fields.audioSize() : 0);
    if (layout.album)
        AppendLevel(entry, album);
    if (layout.track)
        AppendNumberLevel(entry, fields.trackNumber);
    AppendLevel(entry, title);
    if (layout.type)
        AppendLevel(entry, type);
}

void AppendEntryId(AString& entry, int64_t id) {
    entry += kEntryIdSeparator;
    const Decimal number(id);
    for (const char* digit = number.digits; digit != number.end; ++digit)
        entry.AppendChar(char16_t(*digit));
}

void AppendEntryId(std::u16string& entry, int64_t id) {
    entry += kEntryIdSeparator;
    const Decimal number(id);
    entry.append(number.digits, number.end);
}

AString EntryBelowRoot(const AString& path, const AString& root) {
    AString entry = path;
    if (!root.IsEmpty() && entry.Left(root.GetLength()) == root) {
        entry = entry.Mid(root.GetLength());
        if (kPathSeparator != kEntryLevelSeparator && !entry.IsEmpty() && entry.GetAt(0) == kPathSeparator)
            entry = entry.Mid(1);
    }
    if (entry.IsEmpty() || entry.GetAt(0) != kEntryLevelSeparator)
        entry.Insert(0, AString(u"\\"));
    return entry;
}

AString EntryWithoutId(const AString& entry) {
    const int mark = entry.ReverseFind(kEntryIdSeparator);
    return mark < 0 ? entry : entry.Left(mark);
}

namespace {

size_t KeyLength(std::u16string_view text) {
    const size_t mark = text.rfind(kEntryIdSeparator);
    return mark == std::u16string_view::npos ? text.size() : mark;
}

// Folded in pieces on the stack and appended: the key is written once, with no room cleared first.
// The room must be reserved, so that a source inside `key` stays where it is.
void AppendFoldedKey(std::u16string& key, const char16_t* source, size_t length) {
    constexpr size_t kPiece = 64;
    char16_t folded[kPiece];
    for (size_t start = 0; start < length; start += kPiece) {
        const size_t count = std::min(kPiece, length - start);
        for (size_t i = 0; i < count; ++i)
            folded[i] = FoldedToLowerAZ(source[start + i]);
        key.append(folded, count);
    }
    key.push_back(kEntryIdSeparator);
}

} // namespace

int CompareEntryKeys(const AString& a, const AString& b) {
    const std::u16string& first = a.GetCString();
    const std::u16string& second = b.GetCString();
    const size_t firstLength = KeyLength(first);
    const size_t secondLength = KeyLength(second);
    const size_t common = std::min(firstLength, secondLength);
    for (size_t i = 0; i < common; ++i) {
        if (const int difference = int(FoldedToLowerAZ(first[i])) - int(FoldedToLowerAZ(second[i])))
            return difference;
    }
    if (firstLength == secondLength)
        return 0;
    // The shorter key goes on with its '?'.
    if (firstLength < secondLength)
        return int(kEntryIdSeparator) - int(FoldedToLowerAZ(second[common]));
    return int(FoldedToLowerAZ(first[common])) - int(kEntryIdSeparator);
}

std::u16string EntrySortKey(const AString& entry) {
    std::u16string key;
    key.reserve(KeyLength(entry.GetCString()) + 1);
    AppendEntrySortKey(key, entry.GetCString());
    return key;
}

void AppendEntrySortKey(std::u16string& key, std::u16string_view entry) {
    const size_t length = KeyLength(entry);
    key.reserve(key.size() + length + 1);
    AppendFoldedKey(key, entry.data(), length);
}

void AppendTailSortKey(std::u16string& store, size_t entryStart) {
    const size_t length = KeyLength(std::u16string_view(store).substr(entryStart));
    store.reserve(store.size() + length + 1);
    AppendFoldedKey(store, store.data() + entryStart, length);
}
// Four code units at a time: keys often share long beginnings (genre, artist, album).
int CompareSortKeys(std::u16string_view a, std::u16string_view b) {
    constexpr size_t kUnits = sizeof(uint64_t) / sizeof(char16_t);
    const size_t common = std::min(a.size(), b.size());
    size_t i = 0;
    for (; i + kUnits <= common; i += kUnits) {
        uint64_t first = 0;
        uint64_t second = 0;
        std::memcpy(&first, a.data() + i, sizeof first);
        std::memcpy(&second, b.data() + i, sizeof second);
        if (first != second)
            break;
    }
    for (; i < common; ++i) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool ParseEntryId(const AString& entry, int64_t& id) {
    const int mark = entry.ReverseFind(kEntryIdSeparator);
    if (mark < 0)
        return false;
    AString digits = entry.Mid(mark + 1);
    const bool negative = !digits.IsEmpty() && digits.GetAt(0) == u'-';
    if (negative)
        digits.Delete(0);
    if (!digits.IsNumber() || digits.GetLength() > 18)
        return false;
    id = 0;
    for (char16_t c : digits.GetCString())
        id = id * 10 + (c - u'0');
    if (negative)
        id = -id;
    return true;
}

namespace {

// Takes the text up to the next '\' (or the end) and moves past it.
AString TakeLevel(const AString& text, int& position) {
    if (position > text.GetLength())
        return AString();
    int end = text.Find(kEntryLevelSeparator, position);
    if (end < 0)
        end = text.GetLength();
    const AString level = text.Mid(position, end - position);
    position = end + 1;
    return level;
}

AString TakeRest(const AString& text, int& position) {
    const AString rest = text.Mid(position);
    position = text.GetLength() + 1;
    return rest;
}

} // namespace

EntryLevels SplitEntry(const AString& entry, const EntryLayout& layout) {
    const AString text = EntryWithoutId(entry);
    int position = (!text.IsEmpty() && text.GetAt(0) == kEntryLevelSeparator) ? 1 : 0;
    EntryLevels levels;
    if (layout.genre)
        levels.genre = TakeLevel(text, position);
    levels.artist = TakeLevel(text, position);
    if (layout.album)
        levels.album = TakeLevel(text, position);
    if (layout.track)
        levels.track = TakeLevel(text, position);
    if (layout.type) {
        levels.title = TakeLevel(text, position);
        levels.type = TakeRest(text, position);
    } else {
        levels.title = TakeRest(text, position);
    }
    return levels;
}

AString FolderPatternFor(const EntryLayout& layout) {
    if (layout.genre && layout.album)
        return AString(u"*\\*\\*\\");
    if (!layout.genre && !layout.album)
        return AString(u"*\\");
    return AString(u"*\\*\\");
}
