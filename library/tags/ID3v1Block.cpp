#include "library/tags/ID3v1Block.h"

#include "foundation/AFile.h"
#include "foundation/ErrorCodes.h"
#include "library/tags/GenreTable.h"
#include "library/tags/SongFields.h"
#include "library/tags/TagNumbers.h"

#include <cstring>
#include <string_view>

namespace {

constexpr size_t kTitleAt = 3;
constexpr size_t kArtistAt = 33;
constexpr size_t kAlbumAt = 63;
constexpr size_t kYearAt = 93;
constexpr size_t kCommentAt = 97;
constexpr size_t kTrackMarkerAt = 125;
constexpr size_t kTrackAt = 126;
constexpr size_t kGenreAt = 127;
constexpr size_t kFieldLength = 30;
constexpr size_t kYearLength = 4;

// A field ends at its first zero byte; its bytes are Latin-1 as the format means it (Windows-1252).
AString FieldText(const uint8_t* block, size_t at) {
    const char* field = reinterpret_cast<const char*>(block + at);
    const void* zero = std::memchr(field, 0, kFieldLength);
    const size_t length = zero ? static_cast<const char*>(zero) - field : kFieldLength;
    AString text = AString::FromWindows1252(std::string_view(field, length));
    text.Trim();
    return text;
}

} // namespace

int ID3v1Block::ReadID3v1(SongFields& tags, AFile& stream, uint64_t fileLength) {
    if (fileLength < kLength)
        return kErrorID3v1FileTooShort;
    uint8_t block[kLength];
    if (const int result = stream.Seek(fileLength - kLength))
        return result;
    if (const int result = stream.Read(block, kLength))
        return result;
    tags.audioEnd = fileLength - 1;
    if (std::memcmp(block, "TAG", 3) != 0)
        return 0;
    tags.audioEnd = fileLength > kLength ? fileLength - kLength - 1 : 0;
    tags.title = FieldText(block, kTitleAt);
    tags.artist = FieldText(block, kArtistAt);
    tags.album = FieldText(block, kAlbumAt);
    tags.comment = FieldText(block, kCommentAt);
    if (block[kYearAt + kYearLength - 1] != ' ')
        tags.year = LeadingNumber(AString::FromWindows1252(
            std::string_view(reinterpret_cast<const char*>(block + kYearAt), kYearLength)));
    if (block[kTrackMarkerAt] == 0)
        tags.trackNumber = block[kTrackAt];
    tags.genre = GenreTable::Name(block[kGenreAt]);
    tags.tagKinds |= tags.trackNumber != 0 ? SongFields::kTagID3v11 : SongFields::kTagID3v10;
    return 0;
}

void ID3v1Block::KeepOnlyAfterTag(SongFields& tags, uint64_t fileLength) {
    constexpr uint32_t kBlockKinds = SongFields::kTagID3v10 | SongFields::kTagID3v11;
    if ((tags.tagKinds & kBlockKinds) == 0 || fileLength - kLength >= tags.audioStart)
        return;
    tags.tagKinds &= ~kBlockKinds;
    tags.audioEnd = fileLength - 1;
}
