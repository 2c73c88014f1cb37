#include "library/itunes/ITunesTagReader.h"

#include "foundation/AFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "library/tags/ID3.h"
#include "library/tags/SongFileReader.h"
#include "library/tags/Unsynchronisation.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr uint32_t kMillisecondsPerSecond = 1000;

// Songs are the files of a type the tag reader knows, on this computer: a path that looks remote is no
// song here.
bool ReadLocalTags(const std::string& path, ID3& tags) {
    const AString file = AString::FromSystem8Bit(path);
    AString extension;
    file.GetExtension(extension);
    return !IsRemotePath(file) && SongFileReader::FormatOf(extension) != SongFileReader::Format::Other &&
           tags.Read(file) == 0;
}

// The image bytes of a picture; an unsynchronised tag holds them with its stuffing bytes.
bool ReadPicture(AFile& file, const ID3Picture& picture, std::vector<uint8_t>& image) {
    if (picture.length == 0 || picture.end < picture.start || file.Seek(picture.start) != 0)
        return false;
    std::vector<uint8_t> raw;
    if (recordio::CheckRemaining(file, picture.end - picture.start + 1) != 0 ||
        recordio::ReadBytes(file, picture.end - picture.start + 1, raw, kErrorOutOfMemory) != 0)
        return false;
    if (raw.size() > picture.length)
        raw = unsynchronisation::Decode(raw.data(), raw.size());
    if (raw.size() < picture.length)
        return false;
    raw.resize(picture.length);
    image = std::move(raw);
    return true;
}

} // namespace

bool ITunesTagReader::ReadTags(const std::string& path, itunesapp::SongFields& fields) {
    ID3 tags;
    if (!ReadLocalTags(path, tags))
        return false;
    const SongFields& read = tags.GetFields();
    fields.name = read.title.GetCString();
    fields.album = read.album.GetCString();
    fields.artist = read.artist.GetCString();
    fields.genre = read.genre.GetCString();
    fields.composer = read.composer.GetCString();
    fields.comment = read.comment.GetCString();
    fields.trackNumber = read.trackNumber;
    fields.year = read.year;
    fields.bitRate = read.bitRate;
    fields.totalTimeMs = static_cast<uint32_t>(
        std::min<uint64_t>(uint64_t{read.duration} * kMillisecondsPerSecond, UINT32_MAX));
    return true;
}

std::vector<std::vector<uint8_t>> ITunesTagReader::ReadArtwork(const std::string& path) {
    std::vector<std::vector<uint8_t>> pictures;
    ID3 tags;
    if (!ReadLocalTags(path, tags) || tags.GetPictureCount() == 0)
        return pictures;
    AFile file;
    if (file.Open(AString::FromSystem8Bit(path), AFile::kModeRead, false) != 0)
        return pictures;
    for (int i = 0; i < tags.GetPictureCount(); ++i) {
        std::vector<uint8_t> image;
        if (ReadPicture(file, tags.GetPicture(i), image))
            pictures.push_back(std::move(image));
    }
    file.Close(false);
    return pictures;
}
