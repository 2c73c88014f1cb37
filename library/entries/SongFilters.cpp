#include "library/entries/SongFilters.h"

#include "foundation/RecordIO.h"
#include "library/entries/ColonList.h"

namespace {

bool InForce(const SongFilter& filter, SongFilter::Bits bit, const AString& list) {
    return (filter.flags & bit) && !list.IsEmpty();
}

} // namespace

bool SongFilter::PassesWholeItem(const AString& value) const {
    if (InForce(*this, kKeepListed, keep) && !ColonListContains(keep, value))
        return false;
    return !(InForce(*this, kDropListed, drop) && ColonListContains(drop, value));
}

bool SongFilter::PassesItemIn(const AString& value) const {
    if (InForce(*this, kKeepListed, keep) && !ColonListItemOccursIn(keep, value))
        return false;
    return !(InForce(*this, kDropListed, drop) && ColonListItemOccursIn(drop, value));
}

int SongFilter::Serialize(AFile& stream) const {
    if (const int result = recordio::WriteU32(stream, flags))
        return result;
    if (const int result = keep.Serialize(stream))
        return result;
    return drop.Serialize(stream);
}

int SongFilter::Load(AFile& stream) {
    if (const int result = recordio::ReadU32(stream, flags))
        return result;
    if (const int result = keep.Load(stream))
        return result;
    return drop.Load(stream);
}

bool SongFilters::PassesType(const AString& path) const {
    AString extension;
    path.GetExtension(extension);
    return types.PassesWholeItem(extension);
}

bool SongFilters::PassesName(const AString& path) const {
    return names.PassesItemIn(path);
}

bool SongFilters::PassesGenre(const AString& value, const EntryLayout& layout) const {
    return layout.genre == 0 || genre.PassesWholeItem(value);
}

bool SongFilters::PassesAlbum(const AString& value, const EntryLayout& layout) const {
    return layout.album == 0 || album.PassesWholeItem(value);
}

bool SongFilters::PassesSong(const EntryLevels& levels, const EntryLayout& layout) const {
    return PassesGenre(levels.genre, layout) && PassesArtist(levels.artist) &&
           PassesAlbum(levels.album, layout) && PassesTitle(levels.title);
}
