#pragma once
// Chooses the format readers of a song file by its extension and runs them over the open stream.

#include "foundation/AString.h"

class AFile;
class ID3;

class SongFileReader {
public:
    enum class Format { Other, Mp3, Aiff, Mp4 };

    // Compared without regard to case; the extension has no dot.
    static Format FormatOf(const AString& extension);
    // Resets the record for `path` and fills it from the stream, which holds that file's bytes.
    static int Read(ID3& tags, AFile& stream, const AString& path);

private:
    static int ReadMp3(ID3& tags, AFile& stream, uint64_t fileLength);
};
