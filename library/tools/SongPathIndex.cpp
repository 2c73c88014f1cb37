#include "library/tools/SongPathIndex.h"

#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "library/songlists/ADirSong.h"

#include <algorithm>

namespace {

char16_t Folded(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

} // namespace

size_t SongPathIndex::FoldedHash::operator()(const std::u16string& path) const {
    size_t hash = 14695981039346656037ull; // FNV-1a
    for (char16_t c : path)
        hash = (hash ^ Folded(c)) * 1099511628211ull;
    return hash;
}

bool SongPathIndex::PathEqual::operator()(const std::u16string& a, const std::u16string& b) const {
    if (!foldCase)
        return a == b;
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return Folded(x) == Folded(y); });
}

SongPathIndex::SongPathIndex(bool foldCase) : m_paths(0, FoldedHash{}, PathEqual{foldCase}) {}

int SongPathIndex::Build(ADirSong& source, const CancelCallback& callback) {
    m_paths.clear();
    const int count = source.GetCount();
    m_paths.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        AString path;
        if (const int result = source.GetFullPath(*source.GetEntry(i), path, 1))
            return result;
        // A path of one character names no song file.
        if (path.GetLength() > 1)
            m_paths.insert(path.GetCString());
        if (callback && callback())
            return kUserCancel;
    }
    return 0;
}

// A song whose file is gone connects nothing: a song path of the found file's very text names an
// existing file, so only a path that differs from it in case (on a FAT volume) needs a look at the disk.
bool SongPathIndex::IsConnected(const AString& foundFile) const {
    const auto [first, last] = m_paths.equal_range(foundFile.GetCString());
    return std::any_of(first, last, [&foundFile](const std::u16string& path) {
        return path == foundFile.GetCString() || FileExists(AString(std::u16string_view(path)));
    });
}
