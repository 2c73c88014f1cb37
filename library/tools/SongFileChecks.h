#pragma once
// The questions about a song's file that several tools ask alike.

#include "foundation/AString.h"

class ADirSong;

// The file of a song entry: `result` is what the list answered when asked to name it; the path is
// `usable` when it was named, is longer than one character and the file exists.
struct SongPath {
    int result = 0;
    bool usable = false;
    AString path;
};
SongPath UsableSongPath(ADirSong& source, const AString& entry);

// Whether two paths name one file: the same text, or the same device and inode (a path that differs
// only in letter case names another file here, unless the file system says otherwise).
bool IsSameFile(const AString& a, const AString& b);
