#pragma once
// The library file "iTunes Music Library.xml": an XML property list, parsed with pugixml and written by
// our own code, because other code reads it line by line: each key stands with its scalar value on one
// line, and "&", "<" and ">" are written as "&#38;", "&#60;" and "&#62;".
//
// A save never writes less than the file held. Each track, playlist and top-level key keeps the form the
// file gave it (FileForm): what did not change is written back as it was read, keys in their order;
// what changed is written anew in its place. What the stand-in cannot hold (a track without a usable
// Track ID, a second track of one Track ID, a Track ID above 2^31-1, an entry that is no dict, an item
// naming no track held) is kept as read, in its place, and shown to nobody. Nesting is walked without
// recursion, so no depth of another program's values can exhaust the stack.

#include "platform/itunes/MediaModel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace itunesapp {

// An entry of the file's "Tracks" dict that the stand-in does not hold, kept as read.
struct KeptEntry {
    std::string key;
    FileForm dict;       // its pairs, when it is a dict,
    std::string element; // or else its element on one line
};

// One entry of the file's "Tracks" dict, in the file's order.
struct TrackSlot {
    static constexpr uint32_t kDecimalKey = UINT32_MAX;

    int32_t trackID = 0; // a track of the model, or 0 for `LibraryHeader::keptTracks[entry]`
    // For a track of the model: `LibraryHeader::trackKeys[entry]` is its dict key, unless kDecimalKey
    // says that the key is the decimal Track ID, as usual.
    uint32_t entry = kDecimalKey;
};

struct LibraryHeader {
    std::string musicFolderUrl;      // "Music Folder", as written: "file://localhost/.../"
    std::string libraryPersistentID; // "Library Persistent ID": 16 hexadecimal digits
    // The top-level pairs as the file gave them; "Tracks" and "Playlists" stand there without values.
    FileForm form;
    std::vector<TrackSlot> tracks;
    std::vector<KeptEntry> keptTracks;
    std::vector<std::string> trackKeys;
    // The "Playlists" array in the file's order: each entry the stand-in keeps as it was read, or empty
    // for the playlist whose form has this place.
    std::vector<std::string> playlists;
};

// Reads the file's text, which it changes (the parser works in place). False when the text is no
// property list of a library; `problem` then says why.
bool ReadLibraryText(std::string& text, LibraryHeader& header, MediaModel& model, std::string& problem);
// The file's text; `savedAt` is written as its "Date".
std::string WriteLibraryText(const LibraryHeader& header, const MediaModel& model, int64_t savedAt);

// The music application's version that a new file names and that Application::GetVersion gives.
inline constexpr char kApplicationVersion[] = "9.2.1";
// The name of the library playlist of a new library.
inline constexpr char kLibraryPlaylistName[] = "Library";

} // namespace itunesapp
