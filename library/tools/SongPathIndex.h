#pragma once
// The files of a song list, prepared once so that each file found on disk is matched in one look-up:
// the disconnected-files scan would otherwise compare every file with every song.

#include "foundation/AString.h"
#include "foundation/CancelCallback.h"

#include <string>
#include <unordered_set>

class ADirSong;

class SongPathIndex {
public:
    // Names the file of every song: 0, 123456 when cancelled, or the error of the first song whose file
    // cannot be named (a list whose files are unknown must not make its music folder look disconnected).
    int Build(ADirSong& source, const CancelCallback& callback);
    // Whether a song of the list has this file, which the caller found on disk. Letter case (A to Z) is
    // ignored, as the library's own paths may differ in case from the disk's.
    bool IsConnected(const AString& foundFile) const;

private:
    // Paths compared as the song lists compare names: A to Z folded.
    struct FoldedHash {
        size_t operator()(const std::u16string& path) const;
    };
    struct FoldedEqual {
        bool operator()(const std::u16string& a, const std::u16string& b) const;
    };

    std::unordered_multiset<std::u16string, FoldedHash, FoldedEqual> m_paths;
};
