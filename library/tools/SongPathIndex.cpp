#include "library/tools/SongPathIndex.h"

#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "library/songlists/ADirSong.h"

int SongPathIndex::Build(ADirSong& source, const CancelCallback& callback) {
    m_paths.clear();
    const int count = source.GetCount();
    for (int i = 0; i < count; ++i) {
        AString path;
        if (const int result = source.GetFullPath(*source.GetEntry(i), path, 1))
            return result;
        // A path of one character names no song file.
        if (path.GetLength() > 1)
            m_paths[KeyOf(path)].push_back(std::move(path));
        if (callback && callback())
            return kUserCancel;
    }
    return 0;
}

// A song whose file is gone connects nothing: the file of the same text exists, so only a song path
// that differs from it in case needs a look at the disk.
bool SongPathIndex::IsConnected(const AString& existingFile) const {
    const auto found = m_paths.find(KeyOf(existingFile));
    if (found == m_paths.end())
        return false;
    for (const AString& path : found->second) {
        if (path == existingFile || FileExists(path))
            return true;
    }
    return false;
}

std::u16string SongPathIndex::KeyOf(const AString& path) {
    AString key = path;
    key.MakeLower();
    return key.GetCString();
}
