#pragma once
// The tag record of one song file: what the song lists, the iPod copier and the library tools need to
// know about a file without asking the music application. Read fills it from an mp3, AIFF or MP4 file
// (or, for a remote path, from the server program on that host); the record saves itself as a
// version-worded record, which is also its form on the wire.

#include "foundation/AString.h"
#include "foundation/CancelCallback.h"
#include "library/tags/SongFields.h"

#include <cstdint>

class AFile;

class ID3 {
public:
    static constexpr uint32_t kVersion = 0x0010000A;
    static constexpr int kRequestReadTags = 2001;

    // Fills the record from the file at `path`, choosing the reader by the extension; a remote path
    // ("?" host ":" path) is read by the server program on that host. 0 or a negative code.
    int Read(const AString& path);

    // The saved form (pictures are not part of it). Load answers -102389 for a wrong version word and
    // keeps the fields it had read before a failure.
    int Serialize(AFile& stream) const;
    int Load(AFile& stream);

    // Puts the picture (JPEG or PNG bytes) into the tag of the file named by the last Read; only mp3
    // files are written. `force` lets a read-only file be replaced; `cancel` (may be empty) is asked
    // between blocks of the copy and stops the write with 123456, the file left as it was.
    int Write(const uint8_t* picture, uint32_t pictureLength, bool force, const CancelCallback& cancel);

    void GetPath(AString& text) const { text = m_path; }
    void GetTitle(AString& text) const { text = m_fields.title; }
    void GetAlbum(AString& text) const { text = m_fields.album; }
    void GetArtist(AString& text) const { text = m_fields.artist; }
    void GetTVShow(AString& text) const { text = m_fields.tvShow; }
    void GetGenre(AString& text) const { text = m_fields.genre; }
    void GetComposer(AString& text) const { text = m_fields.composer; }
    void GetComment(AString& text) const { text = m_fields.comment; }
    void GetExtension(AString& text) const { text = m_fields.extension; }
    void GetAccountName(AString& text) const { text = m_fields.accountName; }
    void GetDisplayName(AString& text) const { text = m_fields.displayName; }
    uint32_t GetTrackNumber() const { return m_fields.trackNumber; }
    uint32_t GetDiscNumber() const { return m_fields.discNumber; }
    uint32_t GetDiscCount() const { return m_fields.discCount; }
    uint32_t GetYear() const { return m_fields.year; }
    int32_t GetMediaKind() const { return m_fields.mediaKind; }
    uint32_t GetBitRate() const { return m_fields.bitRate; }   // kbit/s, 0 = not found
    uint32_t GetDuration() const { return m_fields.duration; } // whole seconds, 0 = not found
    uint32_t GetFileSize() const { return m_fields.fileSize; } // low 32 bits
    uint32_t GetTagKinds() const { return m_fields.tagKinds; }

    bool IsCompilation() const { return m_fields.compilation == 1; }
    bool IsMovie() const { return m_fields.mediaKind == SongFields::kMediaKindMovie; }
    bool IsTVShow() const { return m_fields.mediaKind == SongFields::kMediaKindTVShow; }
    bool IsPodcast() const { return m_fields.podcast == 1; }

    // 1 with the offsets of the first and last audio byte, or 0 when the end is not known.
    int GetAudioRange(uint64_t& start, uint64_t& end) const;
    int GetPictureCount() const { return static_cast<int>(m_fields.pictures.size()); }
    const ID3Picture& GetPicture(int index) const { return m_fields.pictures.at(index); }
    // Every field at once: what an iPod track or an iTunes song is made from.
    const SongFields& GetFields() const { return m_fields; }

private:
    int ReadRemote(const AString& remotePath);

    AString m_path;
    SongFields m_fields;
};
