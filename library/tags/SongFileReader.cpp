#include "library/tags/SongFileReader.h"

#include "foundation/AFile.h"
#include "foundation/ErrorCodes.h"
#include "library/tags/AiffReader.h"
#include "library/tags/ID3.h"
#include "library/tags/ID3v1Block.h"
#include "library/tags/ID3v2Reader.h"
#include "library/tags/Mp4Reader.h"
#include "library/tags/MpegInfoReader.h"

namespace {

struct ExtensionFormat {
    const char* extension;
    SongFileReader::Format format;
};

constexpr ExtensionFormat kFormats[] = {
    {"mp3", SongFileReader::Format::Mp3},   {"aif", SongFileReader::Format::Aiff},
    {"aiff", SongFileReader::Format::Aiff}, {"m4a", SongFileReader::Format::Mp4},
    {"m4b", SongFileReader::Format::Mp4},   {"m4p", SongFileReader::Format::Mp4},
    {"mp4", SongFileReader::Format::Mp4},   {"m4v", SongFileReader::Format::Mp4},
};

} // namespace

SongFileReader::Format SongFileReader::FormatOf(const AString& extension) {
    for (const ExtensionFormat& entry : kFormats) {
        if (extension.CompareNoCase(entry.extension) == 0)
            return entry.format;
    }
    return Format::Other;
}

int SongFileReader::Read(ID3& tags, AFile& stream, const AString& path) {
    tags.Reset(path);
    const uint64_t fileLength = stream.GetLength();
    tags.fileSize = static_cast<uint32_t>(fileLength);
    if (fileLength == 0)
        return kErrorInconsistentSize;
    path.GetExtension(tags.extension);
    int result = 0;
    switch (FormatOf(tags.extension)) {
    case Format::Mp3:
        result = ReadMp3(tags, stream, fileLength);
        break;
    case Format::Aiff:
        result = AiffReader::ReadAIFF(tags, stream, fileLength);
        break;
    case Format::Mp4:
        result = Mp4Reader::ReadMP4(tags, stream, fileLength);
        break;
    case Format::Other:
        break;
    }
    if (result == 0)
        tags.SetDisplayName();
    return result;
}

int SongFileReader::ReadMp3(ID3& tags, AFile& stream, uint64_t fileLength) {
    if (const int result = ID3v1Block::ReadID3v1(tags, stream, fileLength))
        return result;
    if (const int result = stream.Seek(0))
        return result;
    if (const int result = ID3v2Reader::ReadID3v2(tags, stream, fileLength))
        return result;
    // A song whose frames cannot be read keeps its tags; it only lacks its duration and bit rate.
    MpegInfoReader::ReadMpegInfo(tags, stream, fileLength);
    return 0;
}
