#pragma once
// The tag fuzz targets read their input as a song file, as the readers run in use: each input is
// written into a file of a private folder, which goes when the program ends.

#include "library/tags/ID3.h"

#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fuzzsong {

class PrivateFolder {
public:
    PrivateFolder() {
        const char* base = std::getenv("TMPDIR");
        m_path = std::string(base && *base ? base : "/tmp") + "/orvantis-fuzz-tags-XXXXXX";
        if (!mkdtemp(m_path.data()))
            std::abort();
    }
    ~PrivateFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

inline const std::string& Folder() {
    static const PrivateFolder folder;
    return folder.Path();
}

// The path of the file `name` of the folder, which now holds the bytes. The file is overwritten and cut
// to length rather than truncated first: a file truncated to nothing and written again is flushed to
// the disk when it is closed (ext4), which would make every run wait for the disk.
inline std::string WriteSong(const char* name, const uint8_t* data, size_t size) {
    const std::string path = Folder() + "/" + name;
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (file < 0 || pwrite(file, data, size, 0) != static_cast<ssize_t>(size) ||
        ftruncate(file, static_cast<off_t>(size)) != 0 || close(file) != 0)
        std::abort();
    return path;
}

// Every field but the pictures, the file's size and where the audio lies (which change with a tag's new
// length).
inline bool SameTagFields(const SongFields& a, const SongFields& b) {
    return a.title == b.title && a.album == b.album && a.artist == b.artist && a.tvShow == b.tvShow &&
           a.genre == b.genre && a.composer == b.composer && a.comment == b.comment &&
           a.trackNumber == b.trackNumber && a.discNumber == b.discNumber && a.discCount == b.discCount &&
           a.year == b.year && a.compilation == b.compilation && a.mediaKind == b.mediaKind &&
           a.podcast == b.podcast && a.bitRate == b.bitRate && a.duration == b.duration &&
           a.extension == b.extension && a.accountName == b.accountName &&
           a.displayName == b.displayName && a.tagKinds == b.tagKinds;
}

// Every picture a read found lies inside the file it read.
inline void CheckPicturesInFile(const ID3& tags, uint64_t fileSize) {
    for (int i = 0; i < tags.GetPictureCount(); ++i) {
        const ID3Picture& picture = tags.GetPicture(i);
        if (picture.length == 0 || picture.start > picture.end || picture.end >= fileSize)
            std::abort();
    }
}

// The audio a read found lies inside the file, and it ends no sooner than one byte before it starts
// (no audio at all).
inline void CheckAudioInFile(const ID3& tags, uint64_t fileSize) {
    uint64_t start = 0;
    uint64_t end = 0;
    if (tags.GetAudioRange(start, end) && (end >= fileSize || end + 1 < start))
        std::abort();
}

// Reads the input as the file `name`; the pictures and the audio found must lie inside it.
inline void ReadAsSong(const char* name, const uint8_t* data, size_t size) {
    ID3 tags;
    if (tags.Read(AString(WriteSong(name, data, size))) == 0)
        CheckAudioInFile(tags, size);
    CheckPicturesInFile(tags, size);
}

} // namespace fuzzsong
