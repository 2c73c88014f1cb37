#include "remote/RemoteSongList.h"

#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"

namespace {

// Three empty text records (version word and byte count) and the file information.
constexpr uint64_t kSmallestSong = 3 * (4 + 2) + FileInfo::kRecordSize;

int WriteSong(AFile& stream, const RemoteSong& song) {
    for (const AString* text : {&song.entry, &song.key, &song.path}) {
        if (const int result = text->Serialize(stream))
            return result;
    }
    return song.info.Serialize(stream);
}

int ReadSong(AFile& stream, RemoteSong& song) {
    for (AString* text : {&song.entry, &song.key, &song.path}) {
        if (const int result = text->Load(stream))
            return result;
    }
    return song.info.Load(stream);
}

} // namespace

int RemoteSongList::Write(AFile& stream, const std::vector<RemoteSong>& songs) {
    if (const int result = recordio::WriteU32(stream, static_cast<uint32_t>(songs.size())))
        return result;
    for (const RemoteSong& song : songs) {
        if (const int result = WriteSong(stream, song))
            return result;
    }
    return 0;
}

int RemoteSongList::Read(std::span<const uint8_t> answer, std::vector<RemoteSong>& songs) {
    songs.clear();
    AMemFile stream(answer.data(), static_cast<uint32_t>(answer.size()));
    uint32_t count = 0;
    if (const int result = recordio::ReadU32(stream, count))
        return result;
    if (const int result = recordio::CheckRemaining(stream, count * kSmallestSong))
        return result;
    songs.resize(count);
    for (RemoteSong& song : songs) {
        if (const int result = ReadSong(stream, song)) {
            songs.clear();
            return result;
        }
    }
    return 0;
}
