#pragma once
// Chooses the format readers of a song file by its extension and runs them over the open stream.

#include "foundation/AString.h"

class AFile;
struct SongFields;

class SongFileReader {
public:
    enum class Format { Other, Mp3, Aiff, Mp4, Aac };

    // Compared without regard to case; the extension has no dot.
    static Format FormatOf(const AString& extension);
    // Resets the fields and fills them from the stream, which holds the bytes of the file at `path`.
    static int Read(SongFields& fields, AFile& stream, const AString& path);

private:
    static int ReadMp3(SongFields& fields, AFile& stream, uint64_t fileLength);
    // Raw AAC: its ADTS frames, after an ID3v2 tag that gives the names.
    static int ReadAac(SongFields& fields, AFile& stream, uint64_t fileLength);
};
