#include "library/tags/SongFileReader.h"

#include "foundation/AFile.h"
#include "foundation/ErrorCodes.h"
#include "library/tags/AdtsInfoReader.h"
#include "library/tags/AiffReader.h"
#include "library/tags/ID3v1Block.h"
#include "library/tags/ID3v2Header.h"
#include "library/tags/ID3v2Reader.h"
#include "library/tags/Mp4Reader.h"
#include "library/tags/MpegInfoReader.h"
#include "library/tags/SongFields.h"

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
    {"aac", SongFileReader::Format::Aac},
};

} // namespace

SongFileReader::Format SongFileReader::FormatOf(const AString& extension) {
    for (const ExtensionFormat& entry : kFormats) {
        if (extension.CompareNoCase(entry.extension) == 0)
            return entry.format;
    }
    return Format::Other;
}

int SongFileReader::Read(SongFields& fields, AFile& stream, const AString& path) {
    fields = {};
    const uint64_t fileLength = stream.GetLength();
    fields.fileSize = static_cast<uint32_t>(fileLength);
    if (fileLength == 0)
        return kErrorInconsistentSize;
    path.GetExtension(fields.extension);
    int result = 0;
    switch (FormatOf(fields.extension)) {
    case Format::Mp3:
        result = ReadMp3(fields, stream, fileLength);
        break;
    case Format::Aiff:
        result = AiffReader::ReadAIFF(fields, stream, fileLength);
        break;
    case Format::Mp4:
        result = Mp4Reader::ReadMP4(fields, stream, fileLength);
        break;
    case Format::Aac:
        result = ReadAac(fields, stream, fileLength);
        break;
    case Format::Other:
        break;
    }
    if (result == 0)
        fields.displayName = fields.title.IsEmpty() ? path.GetFileTitle() : fields.title;
    return result;
}

int SongFileReader::ReadMp3(SongFields& fields, AFile& stream, uint64_t fileLength) {
    if (const int result = ID3v1Block::ReadID3v1(fields, stream, fileLength))
        return result;
    if (const int result = stream.Seek(0))
        return result;
    if (const int result = ID3v2Reader::ReadID3v2(fields, stream, fileLength))
        return result;
    ID3v1Block::KeepOnlyAfterTag(fields, fileLength);
    // A song whose frames cannot be read keeps its tags; it only lacks its duration and bit rate.
    MpegInfoReader::ReadMpegInfo(fields, stream, fileLength);
    return 0;
}

int SongFileReader::ReadAac(SongFields& fields, AFile& stream, uint64_t fileLength) {
    if (fileLength >= ID3v2Header::kLength) {
        if (const int result = ID3v2Reader::ReadID3v2(fields, stream, fileLength))
            return result;
    }
    return AdtsInfoReader::ReadAdtsInfo(fields, stream, fileLength);
}
