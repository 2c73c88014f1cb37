#pragma once
// Whether files lie on a volume that ignores the case of names (FAT and exFAT, as music players and
// memory cards are formatted), which a server tells its clients in each file's information: there
// "Song.mp3" and "song.mp3" are one file, everywhere else two. Each folder is asked once.

#include "foundation/AString.h"

#include <string>
#include <unordered_map>

struct FileInfo;

class CaseFoldingVolumes {
public:
    // Sets RemoteFileCache::kCaseFoldingVolume in the information of `file` where its volume ignores case.
    void Mark(const AString& file, FileInfo& info);

private:
    bool FolderFoldsCase(const std::string& folder);

    std::unordered_map<std::string, bool> m_folders;
};
