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
    // Paths are compared as the file system that holds them compares names: with `foldCase` (a FAT
    // volume) letter case (A to Z) is ignored, as the library's own paths may differ in case from the
    // disk's; else "song.mp3" is another file than "Song.mp3".
    explicit SongPathIndex(bool foldCase);

    // Names the file of every song: 0, 123456 when cancelled, or the error of the first song whose file
    // cannot be named (a list whose files are unknown must not make its music folder look disconnected).
    int Build(ADirSong& source, const CancelCallback& callback);
    // Whether a song of the list has this file, which the caller found on disk.
    bool IsConnected(const AString& foundFile) const;

private:
    // Equal paths always hash alike: the hash folds A to Z in either way of comparing.
    struct FoldedHash {
        size_t operator()(const std::u16string& path) const;
    };
    struct PathEqual {
        bool foldCase;
        bool operator()(const std::u16string& a, const std::u16string& b) const;
    };

    std::unordered_multiset<std::u16string, FoldedHash, PathEqual> m_paths;
};
