#pragma once
// Reads an ID3v2.2, 2.3 or 2.4 tag from the stream's position into the record: the text frames the
// system uses, the pictures (as file offsets) and where the audio starts. Of the tag body only the
// frame headers and the frames used are read; of a picture, the fields before its image.

#include "library/tags/ID3v2Header.h"
#include "library/tags/ID3v2TagBody.h"
#include "library/tags/Unsynchronisation.h"

#include <cstdint>
#include <optional>
#include <vector>

class AFile;
struct SongFields;
struct ID3v2Frame;

class ID3v2Reader {
public:
    // 0 also when the stream holds no tag there (it is then put back at offset 0); the stream stands
    // after the tag body when one was read.
    static int ReadID3v2(SongFields& tags, AFile& stream, uint64_t fileLength);

private:
    // A frame's bytes, after any unsynchronisation of its own was undone.
    struct FrameContent;

    ID3v2Reader(SongFields& tags, const ID3v2Header& header, uint64_t bodyPosition);
    int ReadFrames(AFile& stream);
    int WalkFrames();
    int ReadBody(AFile& stream);
    // The body's bytes present (read from the file when it is read where looked at).
    bool Ensure(uint64_t offset, uint64_t length);
    void HandleFrame(const ID3v2Frame& frame);
    bool IsRefused(const ID3v2Frame& frame) const;
    bool IsUnsynchronised(const ID3v2Frame& frame) const;
    FrameContent ContentOf(const ID3v2Frame& frame) const;
    void HandlePicture(const ID3v2Frame& frame);
    // Takes the picture's fields from the first `visible` bytes of the content; false when they are
    // not all there.
    bool ReadPicture(FrameContent& content, uint64_t visible);
    // Pictures are met in tag order, so the offsets asked for never decrease.
    uint64_t FileOffsetOf(uint64_t tagOffset);

    SongFields& m_tags;
    ID3v2Header m_header;
    uint64_t m_bodyPosition;
    ID3v2TagBody m_stored;          // the body as stored
    std::vector<uint8_t> m_decoded; // the body with the whole-tag unsynchronisation undone
    const uint8_t* m_body = nullptr;
    uint64_t m_bodySize = 0;
    ID3v2BodySource* m_source = nullptr; // while the stored body is walked: it reads what is looked at
    std::optional<unsynchronisation::RawOffsets> m_rawOffsets; // when the whole tag was unsynchronised
};
