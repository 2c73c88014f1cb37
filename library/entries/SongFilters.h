#pragma once
// The filters by which a song list keeps its songs: the file's type and name, and the song's genre,
// artist, album and title. Each list holds one value of them; an iPod database and an iTunes client
// take it to leave out the songs that their list would not keep.

#include "foundation/AString.h"
#include "library/entries/EntryText.h"

#include <cstdint>

class AFile;

// One filter on one text: two colon lists, each in force when its bit is set and it is not empty.
struct SongFilter {
    enum Bits : uint32_t { kKeepListed = 1, kDropListed = 2 };

    uint32_t flags = 0;
    AString keep;
    AString drop;

    // The value must be a whole item of the keep list and none of the drop list (A-Z folded).
    bool PassesWholeItem(const AString& value) const;
    // An item of the keep list must occur in the value and none of the drop list (case-sensitive).
    bool PassesItemIn(const AString& value) const;

    // The saved form: u32 flags, the keep list, the drop list.
    int Serialize(AFile& stream) const;
    int Load(AFile& stream);
};

struct SongFilters {
    SongFilter types; // on the file's extension
    SongFilter names; // on the file's path
    SongFilter genre;
    SongFilter artist;
    SongFilter album;
    SongFilter title;

    bool PassesType(const AString& path) const;
    bool PassesName(const AString& path) const;
    // The genre and album filters pass when the entries hold no such level.
    bool PassesGenre(const AString& value, const EntryLayout& layout) const;
    bool PassesArtist(const AString& value) const { return artist.PassesWholeItem(value); }
    bool PassesAlbum(const AString& value, const EntryLayout& layout) const;
    bool PassesTitle(const AString& value) const { return title.PassesItemIn(value); }
    // The four song filters in the order genre, artist, album, title.
    bool PassesSong(const EntryLevels& levels, const EntryLayout& layout) const;
};
