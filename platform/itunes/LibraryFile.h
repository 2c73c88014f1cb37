#pragma once
// The library file "iTunes Music Library.xml": an XML property list, parsed with pugixml and written by
// our own code, because other code reads it line by line: each key stands with its scalar value on one
// line, the top-level keys keep the order of the music application's own file, "&", "<" and ">" are
// written as "&#38;", "&#60;" and "&#62;", and keys with an empty value are left out. Keys the stand-in
// does not read are kept and written back.

#include "platform/itunes/MediaModel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace itunesapp {

struct LibraryHeader {
    std::string musicFolderUrl;      // "Music Folder", as written: "file://localhost/.../"
    std::string libraryPersistentID; // "Library Persistent ID": 16 hexadecimal digits
    std::vector<ExtraValue> extras;
};

// Reads the file's text, which it changes (the parser works in place). False when the text is no
// property list of a library; a track without a positive "Track ID" is not read.
bool ReadLibraryText(std::string& text, LibraryHeader& header, MediaModel& model);
// The file's text; `savedAt` is written as its "Date".
std::string WriteLibraryText(const LibraryHeader& header, const MediaModel& model, int64_t savedAt);

// The music application's version that the file names and that Application::GetVersion gives.
inline constexpr char kApplicationVersion[] = "9.2.1";
// The name of the library playlist of a new library.
inline constexpr char kLibraryPlaylistName[] = "Library";

} // namespace itunesapp
