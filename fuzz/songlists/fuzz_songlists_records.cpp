// The saved records of the song lists and of the iTunes song and playlist records over any bytes: the
// first byte chooses the record, the rest is its stream. A record that loads must save, load again
// whole to the same values and save the same bytes; a folder list that loads also names, sorts and
// scans its entries.
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

bool SameFilter(const SongFilter& a, const SongFilter& b) {
    return a.flags == b.flags && a.keep == b.keep && a.drop == b.drop;
}

// The entries, with the file each names.
bool SameEntries(ADir& a, ADir& b) {
    if (a.GetCount() != b.GetCount())
        return false;
    for (int i = 0; i < a.GetCount(); ++i) {
        AString aFile, bFile;
        if (*a.GetEntry(i) != *b.GetEntry(i) || a.GetFullPath(*a.GetEntry(i), aFile, 1) !=
                                                     b.GetFullPath(*b.GetEntry(i), bFile, 1) || aFile != bFile)
            return false;
    }
    return true;
}

bool SameValues(ADir& a, ADir& b) {
    const SongFilters& af = a.GetSongFilters();
    const SongFilters& bf = b.GetSongFilters();
    return a.GetRootPath() == b.GetRootPath() && a.GetRecordFlag() == b.GetRecordFlag() &&
           SameFilter(af.types, bf.types) && SameFilter(af.names, bf.names) &&
           a.GetFullPathEntries() == b.GetFullPathEntries() && a.GetAskOnError() == b.GetAskOnError() &&
           a.GetKeepRemovedFiles() == b.GetKeepRemovedFiles() && a.GetLogTime() == b.GetLogTime() &&
           a.GetCopyMode() == b.GetCopyMode() && a.GetRemovedFilesFolder() == b.GetRemovedFilesFolder() &&
           SameEntries(a, b);
}

bool SameValues(ADirSong& a, ADirSong& b) {
    const SongFilters& af = a.GetSongFilters();
    const SongFilters& bf = b.GetSongFilters();
    const EntryLayout& al = a.GetEntryLayout();
    const EntryLayout& bl = b.GetEntryLayout();
    return SameValues(static_cast<ADir&>(a), static_cast<ADir&>(b)) &&
           a.GetPreferredTypes() == b.GetPreferredTypes() && SameFilter(af.genre, bf.genre) &&
           SameFilter(af.artist, bf.artist) && SameFilter(af.album, bf.album) && SameFilter(af.title, bf.title) &&
           a.GetLargestOverNewest() == b.GetLargestOverNewest() &&
           a.GetSizeMatchesTarget() == b.GetSizeMatchesTarget() && al.type == bl.type &&
           al.genre == bl.genre && al.option == bl.option && al.track == bl.track && al.album == bl.album &&
           a.GetProtectedFiles() == b.GetProtectedFiles() && a.GetOnlyMyAppleIDs() == b.GetOnlyMyAppleIDs() &&
           a.GetAddState() == b.GetAddState() && a.GetAllowedAppleIDs() == b.GetAllowedAppleIDs();
}

bool SameValues(ITunesSong& a, ITunesSong& b) {
    AString aText, bText;
    for (auto text : {&ITunesSong::GetName, &ITunesSong::GetAlbum, &ITunesSong::GetArtist, &ITunesSong::GetGenre}) {
        if ((a.*text)(aText, 0) != 0 || (b.*text)(bText, 0) != 0 || aText != bText)
            return false;
    }
    uint32_t aNumber = 0, bNumber = 0;
    for (auto number : {&ITunesSong::GetBitRate, &ITunesSong::GetDuration, &ITunesSong::GetSize}) {
        if ((a.*number)(aNumber, 0) != 0 || (b.*number)(bNumber, 0) != 0 || aNumber != bNumber)
            return false;
    }
    return a.GetComposer() == b.GetComposer() && a.GetTrackNumber() == b.GetTrackNumber() &&
           a.GetYear() == b.GetYear() && a.GetModTime() == b.GetModTime() && a.GetPath() == b.GetPath() &&
           a.GetExtension() == b.GetExtension() && a.GetNameChecksum() == b.GetNameChecksum() &&
           a.GetDatabaseID() == b.GetDatabaseID();
}

bool SameValues(ITunesPlayList& a, ITunesPlayList& b) {
    AString aName, bName;
    if (a.GetName(aName, 0) != 0 || b.GetName(bName, 0) != 0 || aName != bName || a.GetID() != b.GetID() ||
        a.GetKind() != b.GetKind() || a.GetSavedIDCount() != b.GetSavedIDCount() ||
        a.GetFolderPattern() != b.GetFolderPattern())
        return false;
    for (int i = 0; i < static_cast<int>(a.GetSavedIDCount()); ++i) {
        if (a.GetSavedID(i) != b.GetSavedID(i))
            return false;
    }
    return true;
}

// Song lists save and load with a flag word.
template <typename List> bool LoadAndRoundTripList(List& list, AMemFile& stream) {
    if (list.Load(stream, 0) != 0)
        return false;
    RequireRoundTrip(
        list, [](List& l, AMemFile& out) { return l.Save(out, 0); },
        [](List& l, AMemFile& in) { return l.Load(in, 0); }, [](List& a, List& b) { return SameValues(a, b); });
    return true;
}

template <typename Record> bool LoadAndRoundTripRecord(Record& record, AMemFile& stream) {
    if (record.Load(stream) != 0)
        return false;
    RequireRoundTrip(
        record, [](Record& r, AMemFile& out) { return r.Serialize(out); },
        [](Record& r, AMemFile& in) { return r.Load(in); }, [](Record& a, Record& b) { return SameValues(a, b); });
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
