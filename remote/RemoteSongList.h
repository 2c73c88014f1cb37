#pragma once
// The song list of a served library as the song-list request (1005) answers it: u32 count, then per
// song the entry text with ":" and the song's index in the answer, the song key, the song's remote path
// ("?" + server + ":" + its path there) as text records, and the information of its file.

#include "foundation/AString.h"
#include "foundation/FileInfo.h"

#include <cstdint>
#include <span>
#include <vector>

class AFile;

struct RemoteSong {
    AString entry;
    AString key;
    AString path;
    FileInfo info;
};

class RemoteSongList {
public:
    static int Write(AFile& stream, const std::vector<RemoteSong>& songs);
    // 0, or the code of the first field that is missing or malformed; a count that more songs than
    // the answer could hold are announced by is refused before anything is read.
    static int Read(std::span<const uint8_t> answer, std::vector<RemoteSong>& songs);
};
