#include "library/entries/EntryText.h"

#include "library/entries/AudioDataSize.h"
#include "library/entries/FileNameRule.h"
#include "library/tags/ID3.h"
#include "platform/files/PathSeparator.h"

#include <algorithm>
#include <string>

namespace {

AString Clean(const AString& value) {
    return SanitizedFileName(value.Trimmed(), u'_', false);
}

void AppendLevel(AString& entry, const AString& clean) {
    entry += kEntryLevelSeparator;
    entry += clean.IsEmpty() ? AString(u"*") : clean;
}

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
    AString genre = Clean(fields.genre);
    if (genre.IsChar(u'_'))
        genre = AString();
    const AString artist = Clean(fields.artist);
    const AString album = Clean(fields.album);
    const bool named =
        !artist.IsEmpty() || (layout.genre && !genre.IsEmpty()) || (layout.album && !album.IsEmpty());
    AString entry;
    if (layout.genre)
        AppendLevel(entry, genre);
    const uint64_t audioSize = named || !fields.audioSize ? 0 : fields.audioSize();
    AppendLevel(entry, named ? artist : AString::FromUInt64(audioSize));
    if (layout.album)
        AppendLevel(entry, album);
    if (layout.track)
        AppendLevel(entry, AString::FromUInt(fields.trackNumber));
    AppendLevel(entry, Clean(fields.title));
    if (layout.type)
        AppendLevel(entry, Clean(fields.type));
    return entry;
}

void AppendEntryId(AString& entry, int64_t id) {
    entry += kEntryIdSeparator;
    entry += AString(std::to_string(id));
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

char16_t FoldedAt(const std::u16string& text, size_t index) {
    const char16_t c = text[index];
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

size_t KeyLength(const std::u16string& text) {
    const size_t mark = text.rfind(kEntryIdSeparator);
    return mark == std::u16string::npos ? text.size() : mark;
}

} // namespace

int CompareEntryKeys(const AString& a, const AString& b) {
    const std::u16string& first = a.GetCString();
    const std::u16string& second = b.GetCString();
    const size_t firstLength = KeyLength(first);
    const size_t secondLength = KeyLength(second);
    const size_t common = std::min(firstLength, secondLength);
    for (size_t i = 0; i < common; ++i) {
        if (const int difference = int(FoldedAt(first, i)) - int(FoldedAt(second, i)))
            return difference;
    }
    if (firstLength == secondLength)
        return 0;
    // The shorter key goes on with its '?'.
    if (firstLength < secondLength)
        return int(kEntryIdSeparator) - int(FoldedAt(second, common));
    return int(FoldedAt(first, common)) - int(kEntryIdSeparator);
}

std::u16string EntrySortKey(const AString& entry) {
    const std::u16string& text = entry.GetCString();
    const size_t length = KeyLength(text);
    std::u16string key;
    key.reserve(length + 1);
    for (size_t i = 0; i < length; ++i)
        key.push_back(FoldedAt(text, i));
    key.push_back(kEntryIdSeparator);
    return key;
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
