#include "library/itunes/ITunesTrackValues.h"

#include "foundation/ErrorCodes.h"
#include "library/itunes/ITunesDates.h"
#include "library/itunes/ITunesSong.h"
#include "library/itunes/ITunesStatusCode.h"
#include "platform/itunes/Track.h"

#include <algorithm>
#include <limits>

using itunesapp::DateField;
using itunesapp::NumberField;
using itunesapp::TextField;
using itunesapp::Track;

namespace {

int ReadTexts(const Track& track, std::initializer_list<std::pair<TextField, AString*>> texts) {
    for (const auto& [field, text] : texts) {
        std::u16string value;
        if (const int result = ITunesStatusCode(track.GetText(field, value)))
            return result;
        *text = AString(std::move(value));
    }
    return 0;
}

int ReadNumbers(const Track& track, std::initializer_list<std::pair<NumberField, int32_t*>> numbers) {
    for (const auto& [field, number] : numbers) {
        if (const int result = ITunesStatusCode(track.GetNumber(field, *number)))
            return result;
    }
    return 0;
}

// Song paths are mostly ASCII, which widens as it stands; anything else takes the system's whole rule.
AString PathText(const std::string& location) {
    const bool ascii = std::all_of(location.begin(), location.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? AString(std::u16string(location.begin(), location.end())) : AString::FromSystem8Bit(location);
}

uint32_t Unsigned(int32_t value) {
    return static_cast<uint32_t>(std::max<int32_t>(value, 0));
}

} // namespace

int ITunesTrackValues::ReadLocation(const Track& track) {
    if (const int result = ITunesStatusCode(track.GetKind(kind)))
        return result;
    if (kind != itunesapp::TrackKind::File)
        return 0;
    if (const int result = ITunesStatusCode(track.GetLocation(location)))
        return result;
    path = PathText(location);
    return 0;
}

int ITunesTrackValues::ReadFilterTexts(const Track& track) {
    return ReadTexts(track, {{TextField::Name, &name},
                             {TextField::Album, &album},
                             {TextField::Artist, &artist},
                             {TextField::Genre, &genre}});
}

int ITunesTrackValues::ReadOthers(const Track& track) {
    if (const int result = ReadTexts(track, {{TextField::Composer, &composer},
                                             {TextField::Equalizer, &equalizer},
                                             {TextField::Comment, &comment}}))
        return result;
    if (const int result = ReadNumbers(track, {{NumberField::TrackNumber, &trackNumber},
                                               {NumberField::Year, &year},
                                               {NumberField::BitRate, &bitRate},
                                               {NumberField::Duration, &duration},
                                               {NumberField::PlayedCount, &playedCount},
                                               {NumberField::Rating, &rating}}))
        return result;
    if (const int result = ITunesStatusCode(track.GetSize(size)))
        return result;
    if (const int result = ITunesStatusCode(track.GetDate(DateField::Modified, modified)))
        return result;
    if (const int result = ITunesStatusCode(track.GetDate(DateField::Played, played)))
        return result;
    return ITunesStatusCode(track.GetObjectIDs(ids));
}

int ITunesTrackValues::ReadAll(const Track& track) {
    if (const int result = ReadLocation(track))
        return result;
    if (kind != itunesapp::TrackKind::File)
        return kErrorITunesCall;
    if (const int result = ReadFilterTexts(track))
        return result;
    return ReadOthers(track);
}

std::unique_ptr<ITunesSong> ITunesTrackValues::MakeSong() && {
    auto song = std::make_unique<ITunesSong>();
    song->SetName(std::move(name), 0);
    song->SetAlbum(std::move(album), 0);
    song->SetArtist(std::move(artist), 0);
    song->SetGenre(std::move(genre), 0);
    song->SetComposer(std::move(composer), 0);
    song->SetTrackNumber(Unsigned(trackNumber), 0);
    song->SetYear(Unsigned(year), 0);
    song->SetBitRate(Unsigned(bitRate));
    song->SetDuration(Unsigned(duration));
    song->SetSize(static_cast<uint32_t>(std::clamp<int64_t>(size, 0, std::numeric_limits<uint32_t>::max())));
    song->SetModTime(MacTimeFromOleDate(modified));
    song->SetPath(std::move(path));
    song->SetDatabaseID(Unsigned(ids.databaseID));
    song->SetPlayData(Unsigned(playedCount), played == 0.0 ? 0 : MacTimeFromOleDate(played), Unsigned(rating));
    song->SetComment(std::move(comment));
    song->SetEqualizer(std::move(equalizer));
    return song;
}
