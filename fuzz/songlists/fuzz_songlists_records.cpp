// The saved records of the song lists and of the iTunes song and playlist records over any bytes:
// the first byte chooses the record, the rest is its stream.
#include "foundation/AMemFile.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/itunes/ITunesSong.h"
#include "library/songlists/ADirSongDir.h"

#include <cstddef>
#include <cstdint>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > std::numeric_limits<uint32_t>::max())
        return 0;
    AMemFile stream(data + 1, static_cast<uint32_t>(size - 1));
    switch (data[0] % 5) {
    case 0: {
        ADirSongDir list;
        if (list.Load(stream, 0) == 0) {
            AString path;
            for (int i = 0; i < list.GetCount(); ++i)
                list.GetFullPath(*list.GetEntry(i), path, i % 2);
            list.Sort(data[0] & 0x10);
            list.FindDuplicates(0, 0, 1, CancelCallback(), 0);
        }
        break;
    }
    case 1: {
        ADirSong list;
        list.Load(stream, 0);
        break;
    }
    case 2: {
        ADir list;
        list.Load(stream, 0);
        break;
    }
    case 3: {
        ITunesSong song;
        if (song.Load(stream) == 0)
            song.BuildEntry({.genre = 1, .album = 1, .track = 1, .type = 1}, true);
        break;
    }
    default: {
        ITunesPlayList list;
        list.Load(stream);
        AMemFile out;
        list.Serialize(out);
        break;
    }
    }
    return 0;
}
