#include "platform/itunes/LibraryFile.h"

#include "platform/itunes/FileUrl.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <pugixml.hpp>
#include <string_view>

namespace itunesapp {
namespace {

// The keys the stand-in reads, each table in the order in which the writer puts its keys.
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

enum class PlaylistKey { Name, Master, PlaylistID, PersistentID, DistinguishedKind, Folder, Items };
constexpr std::string_view kPlaylistKeys[] = {
    "Name",   "Master",        "Playlist ID", "Playlist Persistent ID", "Distinguished Kind",
    "Folder", "Playlist Items"};

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
template <size_t N> int KeyIndex(const char* key, const std::string_view (&names)[N], size_t& next) {
    for (size_t step = 0; step < N; ++step) {
        const size_t i = (next + step) % N;
        if (std::strcmp(names[i].data(), key) == 0) {
            next = i + 1;
            return static_cast<int>(i);
        }
    }
    return -1;
}

// ---- reading ----

std::string_view Name(pugi::xml_node node) {
    return node.name();
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

bool Named(pugi::xml_node node, const char* name) {
    return std::strcmp(node.name(), name) == 0;
}

const char* KeyText(pugi::xml_node key) {
    const char* value = key.value();
    return *value ? value : key.child_value();
}

std::string_view Text(pugi::xml_node node) {
    const char* value = node.value();
    return *value ? std::string_view(value) : std::string_view(node.child_value());
}

int64_t Integer(pugi::xml_node node) {
    const std::string_view text = Text(node);
    int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return Named(node, "integer") ? value : 0;
}

uint32_t Unsigned32(pugi::xml_node node) {
    const int64_t value = Integer(node);
    return value < 0 || value > UINT32_MAX ? 0 : static_cast<uint32_t>(value);
}

int64_t Date(pugi::xml_node node) {
    int64_t seconds;
    return Named(node, "date") && ParseIsoDate(Text(node), seconds) ? seconds : kNoDate;
}

bool True(pugi::xml_node node) {
    return Named(node, "true");
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

void AppendEscaped(std::string& out, std::string_view text);

// A value the stand-in does not read, on one line as the writer puts it.
void AppendCompactValue(std::string& out, pugi::xml_node value) {
    const std::string_view name = Name(value);
    if (name == "true" || name == "false") {
        out.append("<").append(name).append("/>");
        return;
    }
    out.append("<").append(name).append(">");
    if (name == "dict" || name == "array") {
        for (pugi::xml_node child = FirstElement(value); child; child = ElementAfter(child))
            AppendCompactValue(out, child);
    } else if (name == "data") {
        std::string base64(Text(value));
        std::erase_if(base64, [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
        AppendEscaped(out, base64);
    } else {
        AppendEscaped(out, Text(value));
    }
    out.append("</").append(name).append(">");
}

ExtraValue Extra(std::string_view key, pugi::xml_node value) {
    ExtraValue extra{std::string(key), {}};
    AppendCompactValue(extra.valueXml, value);
    return extra;
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

void ReadTrackValue(TrackRecord& track, const char* key, pugi::xml_node value, size_t& next) {
    switch (static_cast<TrackKey>(KeyIndex(key, kTrackKeys, next))) {
    case TrackKey::TrackID:
        track.id = static_cast<int32_t>(std::clamp<int64_t>(Integer(value), 0, INT32_MAX));
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
        if (!ParseHex64(Text(value), track.persistentID))
            track.extras.push_back(Extra(key, value));
        return;
    case TrackKey::TrackType:
        track.kind = Text(value) == kTrackTypeURL ? TrackKind::URL : TrackKind::File;
        return;
    case TrackKey::Location:
        track.location = Text(value);
        return;
    }
    track.extras.push_back(Extra(key, value));
}

bool ReadTrack(pugi::xml_node dict, TrackRecord& track) {
    size_t next = 0;
    ForEachPair(dict,
                [&](const char* key, pugi::xml_node value) { ReadTrackValue(track, key, value, next); });
    if (track.kind == TrackKind::File && !track.location.empty()) {
        std::string path;
        if (PathFromFileUrl(track.location, path)) {
            track.location = std::move(path);
        } else {
            // Not a local file: kept as written, and the track has no path.
            track.extras.push_back({std::string(kTrackKeys[int(TrackKey::Location)]), {}});
            AppendEscaped(track.extras.back().valueXml.append("<string>"), track.location);
            track.extras.back().valueXml.append("</string>");
            track.location.clear();
        }
    }
    return track.id > 0;
}

void ReadItems(pugi::xml_node array, PlaylistRecord& playlist) {
    for (pugi::xml_node item = FirstElement(array); item; item = ElementAfter(item)) {
        ForEachPair(item, [&](const char* key, pugi::xml_node value) {
            if (kTrackKeys[int(TrackKey::TrackID)] == key)
                playlist.items.push_back({static_cast<int32_t>(Integer(value)), 0});
        });
    }
}

void ReadPlaylistValue(PlaylistRecord& playlist, const char* key, pugi::xml_node value, size_t& next) {
    switch (static_cast<PlaylistKey>(KeyIndex(key, kPlaylistKeys, next))) {
    case PlaylistKey::Name:
        playlist.name = Text(value);
        return;
    case PlaylistKey::Master:
        playlist.master = True(value);
        return;
    case PlaylistKey::PlaylistID:
        playlist.id = static_cast<int32_t>(Integer(value));
        return;
    case PlaylistKey::PersistentID:
        if (!ParseHex64(Text(value), playlist.persistentID))
            playlist.extras.push_back(Extra(key, value));
        return;
    case PlaylistKey::DistinguishedKind:
        playlist.distinguishedKind = static_cast<int32_t>(Integer(value));
        return;
    case PlaylistKey::Folder:
        playlist.folder = True(value);
        return;
    case PlaylistKey::Items:
        ReadItems(value, playlist);
        return;
    }
    playlist.extras.push_back(Extra(key, value));
}

void ReadTracks(pugi::xml_node dict, MediaModel& model) {
    size_t count = 0;
    ForEachPair(dict, [&count](const char*, pugi::xml_node) { ++count; });
    model.ReserveTracks(count);
    ForEachPair(dict, [&](const char*, pugi::xml_node value) {
        TrackRecord track;
        if (ReadTrack(value, track))
            model.InsertTrack(std::move(track));
    });
}

void ReadPlaylists(pugi::xml_node array, MediaModel& model) {
    for (pugi::xml_node dict = FirstElement(array); dict; dict = ElementAfter(dict)) {
        if (!Named(dict, "dict"))
            continue;
        PlaylistRecord playlist;
        size_t next = 0;
        ForEachPair(dict, [&](const char* key, pugi::xml_node value) {
            ReadPlaylistValue(playlist, key, value, next);
        });
        model.InsertPlaylist(std::move(playlist));
    }
}

void ReadTopValue(LibraryHeader& header, MediaModel& model, const char* key, pugi::xml_node value,
                  size_t& next) {
    switch (static_cast<TopKey>(KeyIndex(key, kTopKeys, next))) {
    case TopKey::MajorVersion:
    case TopKey::MinorVersion:
    case TopKey::Date:
    case TopKey::ApplicationVersion:
    case TopKey::Features:
    case TopKey::ShowContentRatings:
        return; // written afresh by every save
    case TopKey::MusicFolder:
        header.musicFolderUrl = Text(value);
        return;
    case TopKey::LibraryPersistentID:
        header.libraryPersistentID = Text(value);
        return;
    case TopKey::Tracks:
        ReadTracks(value, model);
        return;
    case TopKey::Playlists:
        ReadPlaylists(value, model);
        return;
    }
    header.extras.push_back(Extra(key, value));
}

// ---- writing ----

bool NeedsReference(char c) {
    return c == '&' || c == '<' || c == '>' || (static_cast<unsigned char>(c) < 0x20 && c != '\t');
}

// Characters that would end the element or the line are written as numeric references.
void AppendEscaped(std::string& out, std::string_view text) {
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

class LineWriter {
public:
    explicit LineWriter(std::string& out) : m_out(out) {}

    void Line(int depth, std::string_view text) {
        m_out.append(static_cast<size_t>(depth), '\t').append(text).append("\n");
    }
    void Text(int depth, std::string_view key, std::string_view value) {
        if (value.empty())
            return;
        Key(depth, key);
        m_out.append("<string>");
        AppendEscaped(m_out, value);
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
    void Extras(int depth, const std::vector<ExtraValue>& extras) {
        for (const ExtraValue& extra : extras) {
            Key(depth, extra.key);
            m_out.append(extra.valueXml).append("\n");
        }
    }
    void Key(int depth, std::string_view key) {
        m_out.append(static_cast<size_t>(depth), '\t').append("<key>");
        AppendEscaped(m_out, key);
        m_out.append("</key>");
    }

private:
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

void WriteTrack(LineWriter& writer, const TrackRecord& track) {
    constexpr int depth = 3;
    writer.Integer(depth, Key(TrackKey::TrackID), track.id);
    writer.Text(depth, Key(TrackKey::Name), track.name);
    writer.Text(depth, Key(TrackKey::Artist), track.artist);
    writer.Text(depth, Key(TrackKey::Composer), track.composer);
    writer.Text(depth, Key(TrackKey::Album), track.album);
    writer.Text(depth, Key(TrackKey::Genre), track.genre);
    writer.NonZero(depth, Key(TrackKey::Size), static_cast<int64_t>(track.size));
    writer.NonZero(depth, Key(TrackKey::TotalTime), track.totalTimeMs);
    writer.NonZero(depth, Key(TrackKey::TrackNumber), track.trackNumber);
    writer.NonZero(depth, Key(TrackKey::Year), track.year);
    writer.Date(depth, Key(TrackKey::DateModified), track.modified);
    writer.Date(depth, Key(TrackKey::DateAdded), track.added);
    writer.NonZero(depth, Key(TrackKey::BitRate), track.bitRate);
    writer.Text(depth, Key(TrackKey::Comments), track.comment);
    writer.Text(depth, Key(TrackKey::Equalizer), track.equalizer);
    writer.NonZero(depth, Key(TrackKey::PlayCount), track.playedCount);
    if (track.played != kNoDate)
        writer.Integer(depth, Key(TrackKey::PlayDate), LocalSecondsSince1904(track.played));
    writer.Date(depth, Key(TrackKey::PlayDateUTC), track.played);
    writer.NonZero(depth, Key(TrackKey::Rating), track.rating);
    writer.Hex64(depth, Key(TrackKey::PersistentID), track.persistentID);
    writer.Text(depth, Key(TrackKey::TrackType),
                track.kind == TrackKind::URL ? kTrackTypeURL : kTrackTypeFile);
    const bool isFile = track.kind == TrackKind::File && !track.location.empty();
    writer.Text(depth, Key(TrackKey::Location), isFile ? FileUrlFromPath(track.location) : track.location);
    writer.Extras(depth, track.extras);
}

void WritePlaylist(LineWriter& writer, const PlaylistRecord& playlist) {
    constexpr int depth = 3;
    writer.Text(depth, Key(PlaylistKey::Name), playlist.name);
    if (playlist.master)
        writer.Bool(depth, Key(PlaylistKey::Master), true);
    writer.Integer(depth, Key(PlaylistKey::PlaylistID), playlist.id);
    writer.Hex64(depth, Key(PlaylistKey::PersistentID), playlist.persistentID);
    writer.NonZero(depth, Key(PlaylistKey::DistinguishedKind), playlist.distinguishedKind);
    if (playlist.folder)
        writer.Bool(depth, Key(PlaylistKey::Folder), true);
    writer.Extras(depth, playlist.extras);
    if (playlist.items.empty())
        return;
    writer.Key(depth, Key(PlaylistKey::Items));
    writer.Line(0, "");
    writer.Line(depth, "<array>");
    for (const PlaylistItem& item : playlist.items) {
        writer.Line(depth + 1, "<dict>");
        writer.Integer(depth + 2, Key(TrackKey::TrackID), item.trackID);
        writer.Line(depth + 1, "</dict>");
    }
    writer.Line(depth, "</array>");
}

void WriteTracks(LineWriter& writer, const MediaModel& model) {
    writer.Key(1, Key(TopKey::Tracks));
    writer.Line(0, "");
    writer.Line(1, "<dict>");
    char digits[12];
    for (const PlaylistItem& item : model.Main().items) {
        const auto end = std::to_chars(digits, digits + sizeof digits, item.trackID).ptr;
        writer.Key(2, std::string_view(digits, static_cast<size_t>(end - digits)));
        writer.Line(0, "");
        writer.Line(2, "<dict>");
        WriteTrack(writer, *model.FindTrack(item.trackID));
        writer.Line(2, "</dict>");
    }
    writer.Line(1, "</dict>");
}

void WritePlaylists(LineWriter& writer, const MediaModel& model) {
    writer.Key(1, Key(TopKey::Playlists));
    writer.Line(0, "");
    writer.Line(1, "<array>");
    for (const PlaylistRecord& playlist : model.Playlists()) {
        writer.Line(2, "<dict>");
        WritePlaylist(writer, playlist);
        writer.Line(2, "</dict>");
    }
    writer.Line(1, "</array>");
}

} // namespace

bool ReadLibraryText(std::string& text, LibraryHeader& header, MediaModel& model) {
    pugi::xml_document document;
    if (!document.load_buffer_inplace(text.data(), text.size(), kParseOptions, pugi::encoding_utf8))
        return false;
    const pugi::xml_node top = document.child("plist").child("dict");
    if (!top)
        return false;
    size_t next = 0;
    ForEachPair(
        top, [&](const char* key, pugi::xml_node value) { ReadTopValue(header, model, key, value, next); });
    model.Complete(kLibraryPlaylistName);
    return true;
}

std::string WriteLibraryText(const LibraryHeader& header, const MediaModel& model, int64_t savedAt) {
    std::string text;
    text.reserve(model.Tracks().size() * kTrackTextEstimate + 4096);
    text += kPrologue;
    LineWriter writer(text);
    writer.Integer(1, Key(TopKey::MajorVersion), kMajorVersion);
    writer.Integer(1, Key(TopKey::MinorVersion), kMinorVersion);
    writer.Date(1, Key(TopKey::Date), savedAt);
    writer.Text(1, Key(TopKey::ApplicationVersion), kApplicationVersion);
    writer.Integer(1, Key(TopKey::Features), kFeatures);
    writer.Bool(1, Key(TopKey::ShowContentRatings), true);
    writer.Text(1, Key(TopKey::MusicFolder), header.musicFolderUrl);
    writer.Text(1, Key(TopKey::LibraryPersistentID), header.libraryPersistentID);
    writer.Extras(1, header.extras);
    WriteTracks(writer, model);
    WritePlaylists(writer, model);
    text += kEpilogue;
    return text;
}

} // namespace itunesapp
