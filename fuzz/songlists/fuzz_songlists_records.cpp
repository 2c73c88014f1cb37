// The saved records of the song lists and of the iTunes song and playlist records over any bytes: the
// first byte chooses the record, the rest is its stream. A record that loads must save, load again
// whole and save the same bytes; a folder list that loads also names, sorts and scans its entries.
#include "common/RecordRoundTrip.h"
#include "foundation/AMemFile.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/itunes/ITunesSong.h"
#include "library/songlists/ADirSongDir.h"

#include <cstddef>
#include <cstdint>
#include <limits>

namespace {

using fuzzcommon::RequireRoundTrip;

// Song lists save and load with a flag word.
template <typename List> bool LoadAndRoundTripList(List& list, AMemFile& stream) {
    if (list.Load(stream, 0) != 0)
        return false;
    RequireRoundTrip(
        list, [](List& l, AMemFile& out) { return l.Save(out, 0); },
        [](List& l, AMemFile& in) { return l.Load(in, 0); });
    return true;
}

template <typename Record> bool LoadAndRoundTripRecord(Record& record, AMemFile& stream) {
    if (record.Load(stream) != 0)
        return false;
    RequireRoundTrip(
        record, [](Record& r, AMemFile& out) { return r.Serialize(out); },
        [](Record& r, AMemFile& in) { return r.Load(in); });
    return true;
}

void ExerciseFolderList(ADirSongDir& list, uint8_t selector) {
    AString path;
    for (int i = 0; i < list.GetCount(); ++i)
        list.GetFullPath(*list.GetEntry(i), path, i % 2);
    list.Sort(selector & 0x10);
    list.FindDuplicates(0, 0, 1, CancelCallback(), 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > std::numeric_limits<uint32_t>::max())
        return 0;
    AMemFile stream(data + 1, static_cast<uint32_t>(size - 1));
    switch (data[0] % 5) {
    case 0: {
        ADirSongDir list;
        if (LoadAndRoundTripList(list, stream))
            ExerciseFolderList(list, data[0]);
        break;
    }
    case 1: {
        ADirSong list;
        LoadAndRoundTripList(list, stream);
        break;
    }
    case 2: {
        ADir list;
        LoadAndRoundTripList(list, stream);
        break;
    }
    case 3: {
        ITunesSong song;
        if (LoadAndRoundTripRecord(song, stream))
            song.BuildEntry({.genre = 1, .album = 1, .track = 1, .type = 1}, true);
        break;
    }
    default: {
        ITunesPlayList list;
        LoadAndRoundTripRecord(list, stream);
        break;
    }
    }
    return 0;
}
