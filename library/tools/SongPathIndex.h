#pragma once
// The files of a song list, prepared once so that each file found on disk is matched in one look-up:
// the disconnected-files scan would otherwise compare every file with every song.

#include "foundation/AString.h"
#include "foundation/CancelCallback.h"

#include <string>
#include <unordered_map>
#include <vector>

class ADirSong;

class SongPathIndex {
public:
    // Names the file of every song: 0, 123456 when cancelled, or the error of the first song whose file
    // cannot be named (a list whose files are unknown must not make its music folder look disconnected).
    int Build(ADirSong& source, const CancelCallback& callback);
    // Whether a song of the list has this file (an existing file; letter case is ignored, as the
    // library's own paths may differ in case from the disk's).
    bool IsConnected(const AString& existingFile) const;

private:
    static std::u16string KeyOf(const AString& path);

    std::unordered_map<std::u16string, std::vector<AString>> m_paths;
};
