#include "platform/itunes/FileForm.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace itunesapp {
namespace {

constexpr char kNumbered = '\x01';
constexpr char kSpelled = '\x02';

bool NeedsReference(char c) {
    return c == '&' || c == '<' || c == '>' || (static_cast<unsigned char>(c) < 0x20 && c != '\t');
}

bool IsEmptyElement(std::string_view element) {
    return element == "true" || element == "false";
}

} // namespace

// The keys that libraries hold in every track or playlist; any other is spelled out.
const std::string_view FileForm::kKeys[] = {
    "Track ID", "Name", "Artist", "Album Artist", "Composer", "Album", "Grouping", "Genre", "Kind", "Size",
    "Total Time", "Disc Number", "Disc Count", "Track Number", "Track Count", "Year", "Date Modified",
    "Date Added", "Bit Rate", "Sample Rate", "Comments", "Equalizer", "Play Count", "Play Date",
    "Play Date UTC", "Skip Count", "Skip Date", "Release Date", "Rating", "Rating Computed", "Album Rating",
    "Album Rating Computed", "Loved", "Compilation", "Volume Adjustment", "Normalization", "Artwork Count",
    "Persistent ID", "Track Type", "Protected", "Purchased", "Explicit", "Podcast", "Unplayed", "Has Video",
    "HD", "Music Video", "Movie", "TV Show", "Series", "Season", "Episode", "Episode Order", "Sort Name",
    "Sort Artist", "Sort Album Artist", "Sort Album", "Sort Composer", "Sort Series", "Location",
    "File Folder Count", "Library Folder Count", "BPM", "Work", "Movement Name", "Movement Number",
    "Movement Count", "Content Rating", "Master", "Playlist ID", "Playlist Persistent ID",
    "Parent Persistent ID", "Distinguished Kind", "Visible", "All Items", "Folder", "Description",
    "Smart Info", "Smart Criteria", "Playlist Items"};
const std::string_view FileForm::kElements[] = {"string", "integer", "date", "true", "false",
                                                "data",   "real",    "dict", "array"};

void FileForm::Append(std::string_view key, PlistValue value) {
    AppendName(m_pairs, key, kKeys, std::size(kKeys));
    AppendName(m_pairs, value.element, kElements, std::size(kElements));
    m_pairs.append(value.content).push_back('\0');
}

void FileForm::AppendName(std::string& out, std::string_view name, const std::string_view* table, size_t size) {
    const std::string_view* found = std::find(table, table + size, name);
    if (found != table + size) {
        out.push_back(kNumbered);
        out.push_back(static_cast<char>(found - table));
        return;
    }
    out.push_back(kSpelled);
    out.append(name).push_back('\0');
}

std::string_view FileForm::TakeName(std::string_view pairs, size_t& at, const std::string_view* table) {
    if (pairs[at++] == kNumbered)
        return table[static_cast<unsigned char>(pairs[at++])];
    return TakeText(pairs, at);
}

std::string_view FileForm::TakeText(std::string_view pairs, size_t& at) {
    const size_t end = pairs.find('\0', at);
    const std::string_view text = pairs.substr(at, end - at);
    at = end + 1;
    return text;
}

void AppendPlistText(std::string& out, std::string_view text) {
    size_t plain = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!NeedsReference(text[i]))
            continue;
        char digits[4];
        const auto end =
            std::to_chars(digits, digits + sizeof digits, int(static_cast<unsigned char>(text[i]))).ptr;
        out.append(text.substr(plain, i - plain)).append("&#").append(digits, end).append(";");
        plain = i + 1;
    }
    out.append(text.substr(plain));
}

void AppendPlistValue(std::string& out, PlistValue value) {
    if (IsEmptyElement(value.element)) {
        out.append("<").append(value.element).append("/>");
        return;
    }
    out.append("<").append(value.element).append(">");
    if (value.IsContainer())
        out.append(value.content);
    else
        AppendPlistText(out, value.content);
    out.append("</").append(value.element).append(">");
}

void AppendPlistPair(std::string& out, std::string_view key, PlistValue value) {
    out.append("<key>");
    AppendPlistText(out, key);
    out.append("</key>");
    AppendPlistValue(out, value);
}

} // namespace itunesapp
