#pragma once
// The tag record of one song file: what the song lists, the iPod copier and the library tools need to
// know about a file without asking the music application. Read fills it from an mp3, AIFF or MP4 file
// (or, for a remote path, from the server program on that host); the record saves itself as a
// version-worded record, which is also its form on the wire.

#include "foundation/AString.h"
#include "foundation/CancelCallback.h"

#include <cstdint>
#include <vector>

class AFile;

// One embedded picture: where its image bytes lie in the file. The bytes themselves are not kept.
struct ID3Picture {
    enum Kind : uint32_t { kOther = 0, kPng = 1, kJpeg = 2 };

    uint64_t start = 0;  // file offset of the first image byte
    uint64_t end = 0;    // file offset of the last image byte
    uint64_t length = 0; // bytes of image data
    uint32_t kind = kOther;
    uint32_t reserved = 0;
};

class ID3 {
public:
    static constexpr uint32_t kVersion = 0x0010000A;
    static constexpr int kRequestReadTags = 2001;

    // Bits of GetTagKinds.
    enum TagKind : uint32_t {
        kTagID3v10 = 1,
        kTagID3v11 = 2, // ID3v1 with a track number
        kTagID3v22 = 4,
        kTagID3v23 = 8,
        kTagID3v24 = 16,
        kTagMP4WalkComplete = 32, // the MP4 item walk ran to the end of the file
    };
    static constexpr int32_t kMediaKindUnset = -1;
    static constexpr int32_t kMediaKindMovie = 9;
    static constexpr int32_t kMediaKindTVShow = 10;

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

    void GetPath(AString& text) const { text = path; }
    void GetTitle(AString& text) const { text = title; }
    void GetAlbum(AString& text) const { text = album; }
    void GetArtist(AString& text) const { text = artist; }
    void GetTVShow(AString& text) const { text = tvShow; }
    void GetGenre(AString& text) const { text = genre; }
    void GetComposer(AString& text) const { text = composer; }
    void GetComment(AString& text) const { text = comment; }
    void GetExtension(AString& text) const { text = extension; }
    void GetAccountName(AString& text) const { text = accountName; }
    void GetDisplayName(AString& text) const { text = displayName; }
    uint32_t GetTrackNumber() const { return trackNumber; }
    uint32_t GetDiscNumber() const { return discNumber; }
    uint32_t GetDiscCount() const { return discCount; }
    uint32_t GetYear() const { return year; }
    int32_t GetMediaKind() const { return mediaKind; }
    uint32_t GetBitRate() const { return bitRate; }   // kbit/s, 0 = not found
    uint32_t GetDuration() const { return duration; } // whole seconds, 0 = not found
    uint32_t GetFileSize() const { return fileSize; } // low 32 bits
    uint32_t GetTagKinds() const { return tagKinds; }

    bool IsCompilation() const { return compilation == 1; }
    bool IsMovie() const { return mediaKind == kMediaKindMovie; }
    bool IsTVShow() const { return mediaKind == kMediaKindTVShow; }
    bool IsPodcast() const { return podcast == 1; }

    // 1 with the offsets of the first and last audio byte, or 0 when the end is not known.
    int GetAudioRange(uint64_t& start, uint64_t& end) const;
    int GetPictureCount() const { return static_cast<int>(pictures.size()); }
    const ID3Picture& GetPicture(int index) const { return pictures.at(index); }

    // Copies the tags into a song-information record whose fields carry the same names as ours.
    template <typename SongInfo> void CopyTo(SongInfo& info) const {
        info.title = title;
        info.album = album;
        info.artist = artist;
        info.tvShow = tvShow;
        info.genre = genre;
        info.composer = composer;
        info.comment = comment;
        info.trackNumber = trackNumber;
        info.discNumber = discNumber;
        info.discCount = discCount;
        info.year = year;
        info.compilation = compilation;
        info.mediaKind = mediaKind;
        info.podcast = podcast;
        info.bitRate = bitRate;
        info.duration = duration;
        info.fileSize = fileSize;
        info.extension = extension;
        info.accountName = accountName;
        info.displayName = displayName;
    }

private:
    friend class ID3v1Block;
    friend class ID3v2Reader;
    friend class MpegInfoReader;
    friend class Mp4Reader;
    friend class ID3v2Writer;
    friend class SongFileReader;

    int ReadRemote(const AString& remotePath);
    void Reset(const AString& newPath);
    // What an ID3v2 tag replaces: every tag field, whatever an ID3v1 block gave.
    void ResetTagFields();
    void SetDisplayName();

    AString path;
    AString title;
    AString album;
    AString artist;
    AString tvShow;
    AString genre;
    AString composer;
    AString comment;
    std::vector<ID3Picture> pictures; // in tag order
    uint32_t trackNumber = 0;
    uint32_t discNumber = 0;
    uint32_t discCount = 0;
    uint32_t year = 0;
    uint32_t compilation = 0;
    int32_t mediaKind = kMediaKindUnset;
    uint32_t podcast = 0;
    uint32_t bitRate = 0;
    uint32_t duration = 0;
    uint32_t fileSize = 0;
    AString extension;
    AString accountName;
    AString displayName;
    uint32_t tagKinds = 0;
    uint64_t audioStart = 0;
    uint64_t audioEnd = 0;
};
