#include "library/tools/SongFileChecks.h"

#include "foundation/FileOps.h"
#include "library/songlists/ADirSong.h"
#include "platform/files/NativeFiles.h"

SongPath UsableSongPath(ADirSong& source, const AString& entry) {
    SongPath song;
    song.result = source.GetFullPath(entry, song.path, 1);
    // A path of one character ("\" or "/") names no song file.
    song.usable = song.result == 0 && song.path.GetLength() > 1 && FileExists(song.path);
    return song;
}

bool IsSameFile(const AString& a, const AString& b) {
    return a == b || nativefiles::SameFile(a.ToSystem8Bit(), b.ToSystem8Bit());
}
