#include "platform/itunes/LibraryFile.h"

#include "platform/itunes/FileUrl.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <optional>
#include <pugixml.hpp>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace itunesapp {
namespace {

// The keys the stand-in reads or writes itself, each table in the order in which the writer puts them.
enum class TopKey {
    MajorVersion,
    MinorVersion,
    Date,
    ApplicationVersion,
    Features,
    ShowContentRatings,
    MusicFolder,
    LibraryPersistentID,
    Tracks,
    Playlists
};
constexpr std::string_view kTopKeys[] = {"Major Version", "Minor Version",
                                         "Date",          "Application Version",
                                         "Features",      "Show Content Ratings",
                                         "Music Folder",  "Library Persistent ID",
                                         "Tracks",        "Playlists"};

enum class TrackKey {
    TrackID,
    Name,
    Artist,
    Composer,
    Album,
    Genre,
    Size,
    TotalTime,
    TrackNumber,
    Year,
    DateModified,
    DateAdded,
    BitRate,
    Comments,
    Equalizer,
    PlayCount,
    PlayDate,
    PlayDateUTC,
    Rating,
    PersistentID,
    TrackType,
    Location
};
constexpr std::string_view kTrackKeys[] = {
    "Track ID", "Name",          "Artist",       "Composer",   "Album",         "Genre",
    "Size",     "Total Time",    "Track Number", "Year",       "Date Modified", "Date Added",
    "Bit Rate", "Comments",      "Equalizer",    "Play Count", "Play Date",     "Play Date UTC",
    "Rating",   "Persistent ID", "Track Type",   "Location"};

enum class PlaylistKey {
    Name,
    Master,
    PlaylistID,
    PersistentID,
    DistinguishedKind,
    Visible,
    AllItems,
    Folder,
    Items
};
constexpr std::string_view kPlaylistKeys[] = {
    "Name",    "Master",    "Playlist ID", "Playlist Persistent ID", "Distinguished Kind",
    "Visible", "All Items", "Folder",      "Playlist Items"};

// Keys that hold a smart playlist's rules, which the stand-in keeps but does not read.
constexpr std::string_view kSmartKeys[] = {"Smart Info", "Smart Criteria"};

constexpr std::string_view kTrackTypeFile = "File";
constexpr std::string_view kTrackTypeURL = "URL";
constexpr int64_t kMajorVersion = 1;
constexpr int64_t kMinorVersion = 1;
constexpr int64_t kFeatures = 5;
constexpr unsigned kParseOptions =
    pugi::parse_escapes | pugi::parse_embed_pcdata | pugi::parse_ws_pcdata_single | pugi::parse_cdata;

constexpr char kPrologue[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
                             "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                             "<plist version=\"1.0\">\n"
                             "<dict>\n";
constexpr char kEpilogue[] = "</dict>\n</plist>\n";
// The bytes a track takes in the file, to reserve the text once.
constexpr size_t kTrackTextEstimate = 1400;

// Finds a key in its table, trying the one after the last found first: files list keys in order.
// A key left out costs a step or two: the search goes on forwards before it starts again at the top.
template <size_t N> int KeyIndex(std::string_view key, const std::string_view (&names)[N], size_t& next) {
    for (size_t step = 0; step < N; ++step) {
        const size_t i = (next + step) % N;
        if (names[i] == key) {
            next = i + 1;
            return static_cast<int>(i);
        }
    }
    return -1;
}

template <size_t N> bool IsOneOf(std::string_view key, const std::string_view (&names)[N]) {
    return std::find(std::begin(names), std::end(names), key) != std::end(names);
}

// ---- the elements of the file ----

bool Named(pugi::xml_node node, const char* name) {
    return std::strcmp(node.name(), name) == 0;
}

// Text between the elements of a dict or an array has no meaning in a property list: only elements count.
pugi::xml_node NextElement(pugi::xml_node node) {
    while (node && node.type() != pugi::node_element)
        node = node.next_sibling();
    return node;
}

pugi::xml_node FirstElement(pugi::xml_node parent) {
    return NextElement(parent.first_child());
}

pugi::xml_node ElementAfter(pugi::xml_node node) {
    return NextElement(node.next_sibling());
}

bool IsContainer(pugi::xml_node node) {
    return Named(node, "dict") || Named(node, "array");
}

bool IsText(pugi::xml_node node) {
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

// A scalar's text. The parser hands it in pieces where a CDATA section interrupts it; most values are
// one piece, which is handed out as it stands.
std::string_view ElementText(pugi::xml_node node, std::string& joined) {
    const char* value = node.value();
    const pugi::xml_node child = node.first_child();
    if (!child)
        return value;
    if (!*value && IsText(child) && !child.next_sibling())
        return child.value();
    joined = value;
    for (pugi::xml_node piece = child; piece; piece = piece.next_sibling()) {
        if (IsText(piece))
            joined += piece.value();
    }
    return joined;
}

// A scalar as a form holds it; base64 data loses the white space that only lays it out.
PlistValue ScalarValue(pugi::xml_node node, std::string& scratch) {
    const std::string_view text = ElementText(node, scratch);
    if (!Named(node, "data"))
        return {node.name(), text};
    std::string compact(text);
    std::erase_if(compact, [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
    scratch = std::move(compact);
    return {node.name(), scratch};
}

void AppendOpenTag(std::string& out, std::string_view name) {
    out.append("<").append(name).append(">");
}

void AppendCloseTag(std::string& out, std::string_view name) {
    out.append("</").append(name).append(">");
}

// The elements of a dict or an array on one line, as the writer puts them. Walked without recursion:
// no nesting of another program's values can exhaust the stack.
void AppendCompactChildren(std::string& out, pugi::xml_node container) {
    std::string scratch;
    for (pugi::xml_node node = FirstElement(container); node;) {
        if (IsContainer(node)) {
            AppendOpenTag(out, node.name());
            if (const pugi::xml_node first = FirstElement(node)) {
                node = first;
                continue;
            }
            AppendCloseTag(out, node.name());
        } else {
            AppendPlistValue(out, ScalarValue(node, scratch));
        }
        // The next element: after this one, or after the nearest enclosing one that has a next.
        for (;;) {
            if (const pugi::xml_node next = ElementAfter(node)) {
                node = next;
                break;
            }
            node = node.parent();
            if (node == container)
                return;
            AppendCloseTag(out, node.name());
        }
    }
}

// The value as a form holds it; `scratch` holds its content when that had to be made.
PlistValue ValueOf(pugi::xml_node value, std::string& scratch) {
    if (!IsContainer(value))
        return ScalarValue(value, scratch);
    scratch.clear();
    AppendCompactChildren(scratch, value);
    return {value.name(), scratch};
}

// The whole element on one line.
void AppendCompactElement(std::string& out, pugi::xml_node value) {
    std::string scratch;
    AppendPlistValue(out, ValueOf(value, scratch));
}

const char* KeyText(pugi::xml_node key) {
    const char* value = key.value();
    return *value ? value : key.child_value();
}

// Calls `take(key, value)` for every key of a dict and the element after it.
template <class Take> void ForEachPair(pugi::xml_node dict, Take take) {
    for (pugi::xml_node key = FirstElement(dict); key; key = ElementAfter(key)) {
        if (!Named(key, "key"))
            continue;
        const pugi::xml_node value = ElementAfter(key);
        if (!value)
            return;
        take(KeyText(key), value);
        key = value;
    }
}

// The dict's form, built in `builder` and handed out as a copy of just its size.
FileForm FormOf(pugi::xml_node dict, FileForm& builder) {
    builder.Clear();
    std::string scratch;
    ForEachPair(dict, [&](const char* key, pugi::xml_node value) { builder.Append(key, ValueOf(value, scratch)); });
    return builder;
}

// ---- values ----

std::string_view Text(PlistValue value) {
    return value.IsContainer() ? std::string_view() : value.content;
}

int64_t Integer(PlistValue value) {
    int64_t number = 0;
    std::from_chars(value.content.data(), value.content.data() + value.content.size(), number);
    return value.element == "integer" ? number : 0;
}

uint32_t Unsigned32(PlistValue value) {
    const int64_t number = Integer(value);
    return number < 0 || number > UINT32_MAX ? 0 : static_cast<uint32_t>(number);
}

int64_t Date(PlistValue value) {
    int64_t seconds;
    return value.element == "date" && ParseIsoDate(value.content, seconds) ? seconds : kNoDate;
}

bool True(PlistValue value) {
    return value.element == "true";
}

// An id the stand-in can hold: a whole decimal number from 1 to 2^31-1, written as an integer or as text.
std::optional<int32_t> IDOf(PlistValue value) {
    if (value.element != "integer" && value.element != "string")
        return std::nullopt;
    int64_t id = 0;
    const char* end = value.content.data() + value.content.size();
    const auto [stop, error] = std::from_chars(value.content.data(), end, id);
    if (error != std::errc() || stop != end || id < 1 || id > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(id);
}

// `value` changes only when the whole text is one hexadecimal number.
bool ParseHex64(std::string_view text, uint64_t& value) {
    uint64_t parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed, 16);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return false;
    value = parsed;
    return true;
}

// ---- reading ----

void ReadTrackValue(TrackValues& track, std::string_view key, PlistValue value, size_t& next) {
    switch (static_cast<TrackKey>(KeyIndex(key, kTrackKeys, next))) {
    case TrackKey::TrackID:
        track.id = IDOf(value).value_or(0);
        return;
    case TrackKey::Name:
        track.name = Text(value);
        return;
    case TrackKey::Artist:
        track.artist = Text(value);
        return;
    case TrackKey::Composer:
        track.composer = Text(value);
        return;
    case TrackKey::Album:
        track.album = Text(value);
        return;
    case TrackKey::Genre:
        track.genre = Text(value);
        return;
    case TrackKey::Size:
        track.size = static_cast<uint64_t>(std::max<int64_t>(Integer(value), 0));
        return;
    case TrackKey::TotalTime:
        track.totalTimeMs = Unsigned32(value);
        return;
    case TrackKey::TrackNumber:
        track.trackNumber = Unsigned32(value);
        return;
    case TrackKey::Year:
        track.year = Unsigned32(value);
        return;
    case TrackKey::DateModified:
        track.modified = Date(value);
        return;
    case TrackKey::DateAdded:
        track.added = Date(value);
        return;
    case TrackKey::BitRate:
        track.bitRate = Unsigned32(value);
        return;
    case TrackKey::Comments:
        track.comment = Text(value);
        return;
    case TrackKey::Equalizer:
        track.equalizer = Text(value);
        return;
    case TrackKey::PlayCount:
        track.playedCount = Unsigned32(value);
        return;
    case TrackKey::PlayDate:
        return; // the writer's local time; "Play Date UTC" says when
    case TrackKey::PlayDateUTC:
        track.played = Date(value);
        return;
    case TrackKey::Rating:
        track.rating = Unsigned32(value);
        return;
    case TrackKey::PersistentID:
        ParseHex64(Text(value), track.persistentID);
        return;
    case TrackKey::TrackType:
        track.kind = Text(value) == kTrackTypeURL ? TrackKind::URL : TrackKind::File;
        return;
    case TrackKey::Location:
        track.location = Text(value);
        return;
    }
}

// What the form says of the track. A file track whose location is no local file has no path.
void ReadTrackForm(const FileForm& form, TrackValues& track) {
    size_t next = 0;
    form.ForEach([&](std::string_view key, PlistValue value) { ReadTrackValue(track, key, value, next); });
    if (track.kind != TrackKind::File || track.location.empty())
        return;
    std::string path;
    if (!PathFromFileUrl(track.location, path))
        path.clear();
    track.location = std::move(path);
}

// Calls visit(item, trackID) for each element of a "Playlist Items" array as a form holds it; the id is
// empty for an item that names no track the stand-in could hold.
template <class Visit> void ForEachItem(std::string_view content, const Visit& visit) {
    std::string array = "<array>";
    array.append(content).append("</array>");
    pugi::xml_document document;
    if (!document.load_buffer_inplace(array.data(), array.size(), kParseOptions, pugi::encoding_utf8))
        return;
    std::string scratch;
    for (pugi::xml_node item = FirstElement(document.first_child()); item; item = ElementAfter(item)) {
        std::optional<int32_t> id;
        if (Named(item, "dict")) {
            ForEachPair(item, [&](const char* key, pugi::xml_node value) {
                if (kTrackKeys[int(TrackKey::TrackID)] == key)
                    id = IDOf(ValueOf(value, scratch));
            });
        }
        visit(item, id);
    }
}

void ReadPlaylistValue(PlaylistRecord& playlist, std::string_view key, PlistValue value, size_t& next) {
    switch (static_cast<PlaylistKey>(KeyIndex(key, kPlaylistKeys, next))) {
    case PlaylistKey::Name:
        playlist.name = Text(value);
        return;
    case PlaylistKey::Master:
        playlist.master = True(value);
        return;
    case PlaylistKey::PlaylistID:
        playlist.id = IDOf(value).value_or(0);
        return;
    case PlaylistKey::PersistentID:
        ParseHex64(Text(value), playlist.persistentID);
        return;
    case PlaylistKey::DistinguishedKind:
        playlist.distinguishedKind = static_cast<int32_t>(std::clamp<int64_t>(Integer(value), INT32_MIN, INT32_MAX));
        return;
    case PlaylistKey::Visible:
        playlist.visible = value.element != "false";
        return;
    case PlaylistKey::AllItems:
        playlist.allItems = True(value);
        return;
    case PlaylistKey::Folder:
        playlist.folder = True(value);
        return;
    case PlaylistKey::Items:
        ForEachItem(value.content, [&](pugi::xml_node, std::optional<int32_t> id) {
            if (id)
                playlist.items.push_back({*id, 0});
        });
        return;
    }
    if (IsOneOf(key, kSmartKeys))
        playlist.smart = true;
}

void ReadPlaylistForm(const FileForm& form, PlaylistRecord& playlist) {
    size_t next = 0;
    form.ForEach([&](std::string_view key, PlistValue value) { ReadPlaylistValue(playlist, key, value, next); });
}

void ReadTopValue(LibraryHeader& header, std::string_view key, PlistValue value, size_t& next) {
    switch (static_cast<TopKey>(KeyIndex(key, kTopKeys, next))) {
    case TopKey::MusicFolder:
        header.musicFolderUrl = Text(value);
        return;
    case TopKey::LibraryPersistentID:
        header.libraryPersistentID = Text(value);
        return;
    default:
        return; // the others are the writer's own, or kept as read
    }
}

void ReadTopForm(const FileForm& form, LibraryHeader& header) {
    size_t next = 0;
    form.ForEach([&](std::string_view key, PlistValue value) { ReadTopValue(header, key, value, next); });
}

// How the music application keys a track in the "Tracks" dict.
std::string_view DecimalKey(int32_t id, char (&digits)[12]) {
    const auto end = std::to_chars(digits, digits + sizeof digits, id).ptr;
    return std::string_view(digits, static_cast<size_t>(end - digits));
}

// A track the stand-in holds is one with a usable Track ID that no track before it has; every other
// entry is kept as it was read.
void ReadTracks(pugi::xml_node dict, LibraryHeader& header, MediaModel& model) {
    size_t count = 0;
    ForEachPair(dict, [&count](const char*, pugi::xml_node) { ++count; });
    model.ReserveTracks(count);
    header.tracks.reserve(header.tracks.size() + count);
    char digits[12];
    FileForm builder;
    ForEachPair(dict, [&](const char* key, pugi::xml_node value) {
        TrackSlot slot;
        TrackRecord track;
        if (Named(value, "dict")) {
            track.form = FormOf(value, builder);
            ReadTrackForm(track.form, track);
        }
        if (track.id > 0 && !model.FindTrack(track.id)) {
            slot.trackID = track.id;
            if (key != DecimalKey(track.id, digits)) {
                slot.entry = static_cast<uint32_t>(header.trackKeys.size());
                header.trackKeys.emplace_back(key);
            }
            model.InsertTrack(std::move(track));
        } else {
            slot.entry = static_cast<uint32_t>(header.keptTracks.size());
            KeptEntry& kept = header.keptTracks.emplace_back();
            kept.key = key;
            if (Named(value, "dict"))
                kept.dict = std::move(track.form);
            else
                AppendCompactElement(kept.element, value);
        }
        header.tracks.push_back(slot);
    });
}

void ReadPlaylists(pugi::xml_node array, LibraryHeader& header, MediaModel& model) {
    FileForm builder;
    for (pugi::xml_node entry = FirstElement(array); entry; entry = ElementAfter(entry)) {
        std::string kept;
        if (Named(entry, "dict")) {
            PlaylistRecord playlist;
            playlist.form = FormOf(entry, builder);
            playlist.form.place = static_cast<uint32_t>(header.playlists.size());
            ReadPlaylistForm(playlist.form, playlist);
            model.InsertPlaylist(std::move(playlist));
        } else {
            AppendCompactElement(kept, entry);
        }
        header.playlists.push_back(std::move(kept));
    }
}

// ---- writing ----

class LineWriter {
public:
    explicit LineWriter(std::string& out) : m_out(out) {}

    void Line(int depth, std::string_view text) {
        Indent(depth);
        m_out.append(text).append("\n");
    }
    void Text(int depth, std::string_view key, std::string_view value) {
        if (value.empty())
            return;
        Key(depth, key);
        m_out.append("<string>");
        AppendPlistText(m_out, value);
        m_out.append("</string>\n");
    }
    void Integer(int depth, std::string_view key, int64_t value) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        Key(depth, key);
        m_out.append("<integer>").append(digits, end).append("</integer>\n");
    }
    void NonZero(int depth, std::string_view key, int64_t value) {
        if (value != 0)
            Integer(depth, key, value);
    }
    void Date(int depth, std::string_view key, int64_t unixSeconds) {
        if (unixSeconds == kNoDate)
            return;
        Key(depth, key);
        m_out.append("<date>");
        AppendIsoDate(m_out, unixSeconds);
        m_out.append("</date>\n");
    }
    void Bool(int depth, std::string_view key, bool value) {
        Key(depth, key);
        m_out.append(value ? "<true/>\n" : "<false/>\n");
    }
    void Hex64(int depth, std::string_view key, uint64_t value) {
        if (value == 0)
            return;
        char digits[17];
        const auto end = std::to_chars(digits, digits + 16, value, 16).ptr;
        std::string text(16 - static_cast<size_t>(end - digits), '0');
        for (const char* c = digits; c != end; ++c)
            text += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
        Text(depth, key, text);
    }
    void Key(int depth, std::string_view key) {
        Indent(depth);
        m_out.append("<key>");
        AppendPlistText(m_out, key);
        m_out.append("</key>");
    }
    // A pair as the file gave it.
    void Pair(int depth, std::string_view key, PlistValue value) {
        Indent(depth);
        AppendPlistPair(m_out, key, value);
        m_out.append("\n");
    }
    // Lines laid out before.
    void Raw(std::string_view lines) { m_out.append(lines); }
    void Pairs(int depth, const FileForm& form) {
        form.ForEach([&](std::string_view key, PlistValue value) { Pair(depth, key, value); });
    }

private:
    void Indent(int depth) { m_out.append(static_cast<size_t>(depth), '\t'); }

    std::string& m_out;
};

std::string_view Key(TrackKey key) {
    return kTrackKeys[static_cast<int>(key)];
}

std::string_view Key(PlaylistKey key) {
    return kPlaylistKeys[static_cast<int>(key)];
}

std::string_view Key(TopKey key) {
    return kTopKeys[static_cast<int>(key)];
}

// What `write` puts into the file for one key, to tell whether a value changed since it was read.
template <class Write> std::string Rendered(const Write& write) {
    std::string text;
    LineWriter writer(text);
    write(writer);
    return text;
}

// Writes a dict that the file held: its pairs in their order, each by `raw` as read, except where
// `changed` says a key's value now differs from the one read: then `write` writes the value now in its
// place (or nothing, when it has none). A key the file did not hold is written, when it has a value
// now, before the first held key that follows it in the writer's order.
template <size_t N, class Changed, class Write, class Raw>
void WriteHeldDict(const FileForm& form, const std::string_view (&keys)[N], const Changed& changed,
                   const Write& write, const Raw& raw) {
    bool held[N] = {};
    bool written[N] = {};
    std::optional<bool> isChanged[N];
    const auto changedKey = [&](size_t k) {
        if (!isChanged[k])
            isChanged[k] = changed(k);
        return *isChanged[k];
    };
    size_t next = 0;
    form.ForEach([&](std::string_view key, PlistValue) {
        if (const int k = KeyIndex(key, keys, next); k >= 0)
            held[k] = true;
    });
    const auto writeMissingBefore = [&](size_t limit) {
        for (size_t k = 0; k < limit; ++k) {
            if (held[k] || written[k])
                continue;
            written[k] = true;
            if (changedKey(k))
                write(k);
        }
    };
    next = 0;
    form.ForEach([&](std::string_view key, PlistValue value) {
        const int k = KeyIndex(key, keys, next);
        if (k < 0) {
            raw(key, value);
            return;
        }
        writeMissingBefore(static_cast<size_t>(k));
        const bool first = !written[k];
        written[k] = true;
        // A key the file repeats gets its new value once, at its first place.
        if (!changedKey(static_cast<size_t>(k)))
            raw(key, value);
        else if (first)
            write(static_cast<size_t>(k));
    });
    writeMissingBefore(N);
}

void WriteTrackKey(LineWriter& writer, int depth, TrackKey key, const TrackValues& track) {
    const std::string_view name = Key(key);
    switch (key) {
    case TrackKey::TrackID:
        writer.Integer(depth, name, track.id);
        return;
    case TrackKey::Name:
        writer.Text(depth, name, track.name);
        return;
    case TrackKey::Artist:
        writer.Text(depth, name, track.artist);
        return;
    case TrackKey::Composer:
        writer.Text(depth, name, track.composer);
        return;
    case TrackKey::Album:
        writer.Text(depth, name, track.album);
        return;
    case TrackKey::Genre:
        writer.Text(depth, name, track.genre);
        return;
    case TrackKey::Size:
        writer.NonZero(depth, name, static_cast<int64_t>(track.size));
        return;
    case TrackKey::TotalTime:
        writer.NonZero(depth, name, track.totalTimeMs);
        return;
    case TrackKey::TrackNumber:
        writer.NonZero(depth, name, track.trackNumber);
        return;
    case TrackKey::Year:
        writer.NonZero(depth, name, track.year);
        return;
    case TrackKey::DateModified:
        writer.Date(depth, name, track.modified);
        return;
    case TrackKey::DateAdded:
        writer.Date(depth, name, track.added);
        return;
    case TrackKey::BitRate:
        writer.NonZero(depth, name, track.bitRate);
        return;
    case TrackKey::Comments:
        writer.Text(depth, name, track.comment);
        return;
    case TrackKey::Equalizer:
        writer.Text(depth, name, track.equalizer);
        return;
    case TrackKey::PlayCount:
        writer.NonZero(depth, name, track.playedCount);
        return;
    case TrackKey::PlayDate:
        if (track.played != kNoDate)
            writer.Integer(depth, name, LocalSecondsSince1904(track.played));
        return;
    case TrackKey::PlayDateUTC:
        writer.Date(depth, name, track.played);
        return;
    case TrackKey::Rating:
        writer.NonZero(depth, name, track.rating);
        return;
    case TrackKey::PersistentID:
        writer.Hex64(depth, name, track.persistentID);
        return;
    case TrackKey::TrackType:
        writer.Text(depth, name, track.kind == TrackKind::URL ? kTrackTypeURL : kTrackTypeFile);
        return;
    case TrackKey::Location: {
        const bool isFile = track.kind == TrackKind::File && !track.location.empty();
        writer.Text(depth, name, isFile ? FileUrlFromPath(track.location) : track.location);
        return;
    }
    }
}

void WriteTrack(LineWriter& writer, const TrackRecord& track) {
    constexpr int depth = 3;
    const auto write = [&](size_t k) { WriteTrackKey(writer, depth, static_cast<TrackKey>(k), track); };
    if (track.form.Empty()) {
        for (size_t k = 0; k < std::size(kTrackKeys); ++k)
            write(k);
        return;
    }
    TrackValues read;
    ReadTrackForm(track.form, read);
    if (read == static_cast<const TrackValues&>(track)) {
        writer.Pairs(depth, track.form);
        return;
    }
    const auto changed = [&](size_t k) {
        const auto key = static_cast<TrackKey>(k);
        return Rendered([&](LineWriter& w) { WriteTrackKey(w, 0, key, track); }) !=
               Rendered([&](LineWriter& w) { WriteTrackKey(w, 0, key, read); });
    };
    const auto raw = [&](std::string_view key, PlistValue value) { writer.Pair(depth, key, value); };
    WriteHeldDict(track.form, kTrackKeys, changed, write, raw);
}

void WriteTrackEntry(LineWriter& writer, std::string_view key, const TrackRecord& track) {
    writer.Key(2, key);
    writer.Line(0, "");
    writer.Line(2, "<dict>");
    WriteTrack(writer, track);
    writer.Line(2, "</dict>");
}

void WriteKeptEntry(LineWriter& writer, const KeptEntry& kept) {
    writer.Key(2, kept.key);
    writer.Line(0, "");
    if (!kept.element.empty()) {
        writer.Line(2, kept.element);
        return;
    }
    writer.Line(2, "<dict>");
    writer.Pairs(3, kept.dict);
    writer.Line(2, "</dict>");
}


// The file's entries in their order, then the tracks added since, in the library playlist's order.
void WriteTracks(LineWriter& writer, const LibraryHeader& header, const MediaModel& model) {
    writer.Key(1, Key(TopKey::Tracks));
    writer.Line(0, "");
    writer.Line(1, "<dict>");
    std::unordered_set<int32_t> read;
    read.reserve(header.tracks.size());
    char digits[12];
    for (const TrackSlot& slot : header.tracks) {
        if (slot.trackID == 0) {
            WriteKeptEntry(writer, header.keptTracks[slot.entry]);
            continue;
        }
        read.insert(slot.trackID);
        const TrackRecord* track = model.FindTrack(slot.trackID);
        if (!track)
            continue;
        const bool decimal = slot.entry == TrackSlot::kDecimalKey;
        WriteTrackEntry(writer, decimal ? DecimalKey(slot.trackID, digits) : header.trackKeys[slot.entry], *track);
    }
    for (const PlaylistItem& item : model.Main().items) {
        if (!read.contains(item.trackID))
            WriteTrackEntry(writer, DecimalKey(item.trackID, digits), *model.FindTrack(item.trackID));
    }
    writer.Line(1, "</dict>");
}

void WriteItem(LineWriter& writer, int depth, int32_t trackID) {
    writer.Line(depth, "<dict>");
    writer.Integer(depth + 1, Key(TrackKey::TrackID), trackID);
    writer.Line(depth, "</dict>");
}

void WriteItems(LineWriter& writer, int depth, const PlaylistRecord& playlist) {
    if (playlist.items.empty())
        return;
    writer.Key(depth, Key(PlaylistKey::Items));
    writer.Line(0, "");
    writer.Line(depth, "<array>");
    for (const PlaylistItem& item : playlist.items)
        WriteItem(writer, depth + 1, item.trackID);
    writer.Line(depth, "</array>");
}

// An item as read, laid out as the writer lays out its own.
void WriteHeldItem(LineWriter& writer, int depth, pugi::xml_node item) {
    std::string scratch;
    if (!Named(item, "dict")) {
        AppendCompactElement(scratch, item);
        writer.Line(depth, scratch);
        return;
    }
    writer.Line(depth, "<dict>");
    ForEachPair(item, [&](const char* key, pugi::xml_node value) {
        writer.Pair(depth + 1, key, ValueOf(value, scratch));
    });
    writer.Line(depth, "</dict>");
}

// Items as read.
void WriteHeldItems(LineWriter& writer, int depth, std::string_view content) {
    writer.Key(depth, Key(PlaylistKey::Items));
    writer.Line(0, "");
    writer.Line(depth, "<array>");
    ForEachItem(content, [&](pugi::xml_node item, std::optional<int32_t>) { WriteHeldItem(writer, depth + 1, item); });
    writer.Line(depth, "</array>");
}

// A pair of a playlist as read; its items, the one value of a playlist that may be long, take a line each.
void WriteHeldPlaylistPair(LineWriter& writer, int depth, std::string_view key, PlistValue value) {
    if (key == Key(PlaylistKey::Items) && value.element == "array")
        WriteHeldItems(writer, depth, value.content);
    else
        writer.Pair(depth, key, value);
}

void WritePlaylistKey(LineWriter& writer, int depth, PlaylistKey key, const PlaylistRecord& playlist) {
    const std::string_view name = Key(key);
    switch (key) {
    case PlaylistKey::Name:
        writer.Text(depth, name, playlist.name);
        return;
    case PlaylistKey::Master:
        if (playlist.master)
            writer.Bool(depth, name, true);
        return;
    case PlaylistKey::PlaylistID:
        writer.Integer(depth, name, playlist.id);
        return;
    case PlaylistKey::PersistentID:
        writer.Hex64(depth, name, playlist.persistentID);
        return;
    case PlaylistKey::DistinguishedKind:
        writer.NonZero(depth, name, playlist.distinguishedKind);
        return;
    case PlaylistKey::Visible:
        if (!playlist.visible)
            writer.Bool(depth, name, false);
        return;
    case PlaylistKey::AllItems:
        if (playlist.allItems)
            writer.Bool(depth, name, true);
        return;
    case PlaylistKey::Folder:
        if (playlist.folder)
            writer.Bool(depth, name, true);
        return;
    case PlaylistKey::Items:
        WriteItems(writer, depth, playlist);
        return;
    }
}

// The items of a changed playlist that the file held, with the items the stand-in does not show (they
// name no track it holds) kept as read, each after the item of a held track that it followed.
void WriteItemsKeepingUnheld(LineWriter& writer, int depth, const PlaylistRecord& playlist,
                             const MediaModel& model) {
    struct Unheld {
        size_t afterRead; // how many items of held tracks stood before it
        std::string lines;
    };
    std::vector<int32_t> readIDs;
    std::vector<Unheld> unheld;
    playlist.form.ForEach([&](std::string_view key, PlistValue value) {
        if (key != Key(PlaylistKey::Items))
            return;
        ForEachItem(value.content, [&](pugi::xml_node item, std::optional<int32_t> id) {
            if (id && model.FindTrack(*id)) {
                readIDs.push_back(*id);
                return;
            }
            unheld.push_back({readIDs.size(), {}});
            LineWriter lines(unheld.back().lines);
            WriteHeldItem(lines, depth + 1, item);
        });
    });
    if (unheld.empty()) {
        WriteItems(writer, depth, playlist);
        return;
    }
    // Each item read is matched with the first later item of its track now; an item removed matches none.
    std::unordered_map<int32_t, std::vector<size_t>> placesOf;
    for (size_t i = playlist.items.size(); i-- > 0;)
        placesOf[playlist.items[i].trackID].push_back(i);
    std::vector<size_t> placeNow(readIDs.size(), SIZE_MAX);
    size_t from = 0;
    for (size_t r = 0; r < readIDs.size(); ++r) {
        std::vector<size_t>& places = placesOf[readIDs[r]];
        while (!places.empty() && places.back() < from)
            places.pop_back();
        if (places.empty())
            continue;
        placeNow[r] = places.back();
        from = places.back() + 1;
        places.pop_back();
    }
    // before[i]: the unheld items written before item i of now.
    std::vector<std::vector<const std::string*>> before(playlist.items.size() + 1);
    for (const Unheld& item : unheld) {
        size_t at = 0;
        for (size_t r = item.afterRead; r-- > 0;) {
            if (placeNow[r] != SIZE_MAX) {
                at = placeNow[r] + 1;
                break;
            }
        }
        before[at].push_back(&item.lines);
    }
    writer.Key(depth, Key(PlaylistKey::Items));
    writer.Line(0, "");
    writer.Line(depth, "<array>");
    for (size_t i = 0; i <= playlist.items.size(); ++i) {
        for (const std::string* lines : before[i])
            writer.Raw(*lines);
        if (i < playlist.items.size())
            WriteItem(writer, depth + 1, playlist.items[i].trackID);
    }
    writer.Line(depth, "</array>");
}

void WritePlaylist(LineWriter& writer, const PlaylistRecord& playlist, const MediaModel& model) {
    constexpr int depth = 3;
    if (playlist.form.Empty()) {
        for (size_t k = 0; k < std::size(kPlaylistKeys); ++k)
            WritePlaylistKey(writer, depth, static_cast<PlaylistKey>(k), playlist);
        return;
    }
    // The playlist as read, with the items the stand-in shows of it.
    PlaylistRecord read;
    ReadPlaylistForm(playlist.form, read);
    std::erase_if(read.items, [&model](const PlaylistItem& item) { return !model.FindTrack(item.trackID); });
    const auto raw = [&](std::string_view key, PlistValue value) { WriteHeldPlaylistPair(writer, depth, key, value); };
    if (read.SameValues(playlist)) {
        playlist.form.ForEach(raw);
        return;
    }
    const auto changed = [&](size_t k) {
        const auto key = static_cast<PlaylistKey>(k);
        return Rendered([&](LineWriter& w) { WritePlaylistKey(w, 0, key, playlist); }) !=
               Rendered([&](LineWriter& w) { WritePlaylistKey(w, 0, key, read); });
    };
    const auto write = [&](size_t k) {
        const auto key = static_cast<PlaylistKey>(k);
        if (key == PlaylistKey::Items)
            WriteItemsKeepingUnheld(writer, depth, playlist, model);
        else
            WritePlaylistKey(writer, depth, key, playlist);
    };
    WriteHeldDict(playlist.form, kPlaylistKeys, changed, write, raw);
}

void WritePlaylistEntry(LineWriter& writer, const PlaylistRecord& playlist, const MediaModel& model) {
    writer.Line(2, "<dict>");
    WritePlaylist(writer, playlist, model);
    writer.Line(2, "</dict>");
}

// The file's entries in their order, then the playlists made since.
void WritePlaylists(LineWriter& writer, const LibraryHeader& header, const MediaModel& model) {
    writer.Key(1, Key(TopKey::Playlists));
    writer.Line(0, "");
    writer.Line(1, "<array>");
    std::vector<const PlaylistRecord*> atPlace(header.playlists.size(), nullptr);
    for (const PlaylistRecord& playlist : model.Playlists()) {
        if (playlist.form.place < atPlace.size())
            atPlace[playlist.form.place] = &playlist;
    }
    for (size_t place = 0; place < header.playlists.size(); ++place) {
        if (!header.playlists[place].empty())
            writer.Line(2, header.playlists[place]);
        else if (atPlace[place])
            WritePlaylistEntry(writer, *atPlace[place], model);
    }
    for (const PlaylistRecord& playlist : model.Playlists()) {
        if (playlist.form.place >= atPlace.size())
            WritePlaylistEntry(writer, playlist, model);
    }
    writer.Line(1, "</array>");
}

void WriteTopKey(LineWriter& writer, TopKey key, const LibraryHeader& header, const MediaModel& model,
                 int64_t savedAt) {
    const std::string_view name = Key(key);
    switch (key) {
    case TopKey::MajorVersion:
        writer.Integer(1, name, kMajorVersion);
        return;
    case TopKey::MinorVersion:
        writer.Integer(1, name, kMinorVersion);
        return;
    case TopKey::Date:
        writer.Date(1, name, savedAt);
        return;
    case TopKey::ApplicationVersion:
        writer.Text(1, name, kApplicationVersion);
        return;
    case TopKey::Features:
        writer.Integer(1, name, kFeatures);
        return;
    case TopKey::ShowContentRatings:
        writer.Bool(1, name, true);
        return;
    case TopKey::MusicFolder:
        writer.Text(1, name, header.musicFolderUrl);
        return;
    case TopKey::LibraryPersistentID:
        writer.Text(1, name, header.libraryPersistentID);
        return;
    case TopKey::Tracks:
        WriteTracks(writer, header, model);
        return;
    case TopKey::Playlists:
        WritePlaylists(writer, header, model);
        return;
    }
}

// Of a file that was read, the keys of the application's own stay as they were; the date of the save,
// the tracks and the playlists are written anew.
bool TopKeyChanged(TopKey key, const LibraryHeader& header, const LibraryHeader& read) {
    switch (key) {
    case TopKey::Date:
    case TopKey::Tracks:
    case TopKey::Playlists:
        return true;
    case TopKey::MusicFolder:
        return header.musicFolderUrl != read.musicFolderUrl;
    case TopKey::LibraryPersistentID:
        return header.libraryPersistentID != read.libraryPersistentID;
    default:
        return false;
    }
}

std::string ParseProblem(const pugi::xml_parse_result& parsed) {
    return std::string(parsed.description()) + " at byte " + std::to_string(parsed.offset);
}

} // namespace

bool ReadLibraryText(std::string& text, LibraryHeader& header, MediaModel& model, std::string& problem) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer_inplace(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
    if (!parsed) {
        problem = ParseProblem(parsed);
        return false;
    }
    const pugi::xml_node top = document.child("plist").child("dict");
    if (!top) {
        problem = "it holds no property list of a library";
        return false;
    }
    size_t next = 0;
    std::string scratch;
    ForEachPair(top, [&](const char* key, pugi::xml_node value) {
        const auto known = static_cast<TopKey>(KeyIndex(key, kTopKeys, next));
        if (known == TopKey::Tracks || known == TopKey::Playlists) {
            const bool tracks = known == TopKey::Tracks;
            if (!Named(value, tracks ? "dict" : "array")) {
                problem.append(problem.empty() ? "" : "; ").append(key).append(" is no ").append(
                    tracks ? "dict" : "array");
                return;
            }
            header.form.Append(key, {value.name(), {}});
            if (tracks)
                ReadTracks(value, header, model);
            else
                ReadPlaylists(value, header, model);
            return;
        }
        const PlistValue read = ValueOf(value, scratch);
        header.form.Append(key, read);
        size_t at = 0;
        ReadTopValue(header, key, read, at);
    });
    if (!problem.empty())
        return false;
    model.Complete(kLibraryPlaylistName);
    return true;
}

std::string WriteLibraryText(const LibraryHeader& header, const MediaModel& model, int64_t savedAt) {
    std::string text;
    text.reserve(model.Tracks().size() * kTrackTextEstimate + 4096);
    text += kPrologue;
    LineWriter writer(text);
    const auto write = [&](size_t k) { WriteTopKey(writer, static_cast<TopKey>(k), header, model, savedAt); };
    if (header.form.Empty()) {
        for (size_t k = 0; k < std::size(kTopKeys); ++k)
            write(k);
    } else {
        LibraryHeader read;
        ReadTopForm(header.form, read);
        const auto changed = [&](size_t k) { return TopKeyChanged(static_cast<TopKey>(k), header, read); };
        const auto raw = [&](std::string_view key, PlistValue value) { writer.Pair(1, key, value); };
        WriteHeldDict(header.form, kTopKeys, changed, write, raw);
    }
    text += kEpilogue;
    return text;
}

} // namespace itunesapp
