#pragma once
// Puts a picture into the ID3v2 tag of an mp3 file: appended as one more frame to an existing
// ID3v2.2, 2.3 or 2.4 tag (every old frame stays, the padding goes, an extended header is written anew
// for the new frames), or in a new ID3v2.2 tag built from the record's fields. The new file is written
// beside the song and renamed over it.

#include "foundation/AString.h"
#include "foundation/CancelCallback.h"
#include "library/tags/ID3v2Header.h"

#include <cstdint>
#include <span>
#include <vector>

class AFile;
struct SongFields;

class ID3v2Writer {
public:
    // The song file at `path`; a new tag takes its texts from the fields (after the file's ID3v1 block,
    // if any, was read into them). A frame or tag too large for its size field, a tag whose extended
    // header runs past its body, and a tag whose old frames would read otherwise behind the new one
    // are refused with kErrorInconsistentSize, the file left as it was.
    static int Write(const AString& path, SongFields& tags, const uint8_t* picture, uint32_t pictureLength,
                     bool force, const CancelCallback& cancel);

private:
    ID3v2Writer(const AString& path, SongFields& tags, AFile& source, const uint8_t* picture,
                uint32_t pictureLength, bool force, const CancelCallback& cancel)
        : m_path(path), m_tags(tags), m_source(source), m_picture(picture), m_pictureLength(pictureLength),
          m_force(force), m_cancel(cancel) {}

    int WriteTag();
    int BuildFramesV22();
    int AddPicture(ID3v2Header& header, std::vector<uint8_t>& body);
    int AppendFrame(ID3v2Header& header, std::vector<uint8_t>& body, const std::vector<uint8_t>& frame);
    static uint32_t FramesCrc(std::span<const uint8_t> oldFrames, const std::vector<uint8_t>& newFrame);
    int ReplaceAudio(const ID3v2Header& header, const std::vector<uint8_t>& body);
    int CopyAudio(AFile& target);
    std::vector<uint8_t> PictureFrame(const ID3v2Header& header) const;
    bool IsJpeg() const;

    const AString& m_path;
    SongFields& m_tags;
    AFile& m_source;
    const uint8_t* m_picture;
    uint32_t m_pictureLength;
    bool m_force;
    const CancelCallback& m_cancel;
};
