#include "library/itunes/ITunesAppTrack.h"

#include "foundation/ErrorCodes.h"
#include "library/itunes/ITunesStatusCode.h"
#include "platform/itunes/Artwork.h"
#include "platform/itunes/ArtworkCollection.h"
#include "platform/itunes/Track.h"

#include <algorithm>
#include <limits>
#include <optional>

using itunesapp::NumberField;
using itunesapp::TextField;

namespace {

std::optional<TextField> TextFieldOf(ITunesTrackProperty property) {
    switch (property) {
    case ITunesTrackProperty::Name:
        return TextField::Name;
    case ITunesTrackProperty::Album:
        return TextField::Album;
    case ITunesTrackProperty::Artist:
        return TextField::Artist;
    case ITunesTrackProperty::Genre:
        return TextField::Genre;
    case ITunesTrackProperty::Composer:
        return TextField::Composer;
    default:
        return std::nullopt;
    }
}

// Size is no number field of the application: it is read as 64 bits of its own.
std::optional<NumberField> NumberFieldOf(ITunesTrackProperty property) {
    switch (property) {
    case ITunesTrackProperty::TrackNumber:
        return NumberField::TrackNumber;
    case ITunesTrackProperty::Year:
        return NumberField::Year;
    case ITunesTrackProperty::BitRate:
        return NumberField::BitRate;
    case ITunesTrackProperty::Duration:
        return NumberField::Duration;
    case ITunesTrackProperty::TrackID:
        return NumberField::TrackID;
    default:
        return std::nullopt;
    }
}

} // namespace

int ITunesAppTrack::GetText(ITunesTrackProperty property, AString& value) {
    const std::optional<TextField> field = TextFieldOf(property);
    if (!field)
        return kErrorITunesCall;
    std::u16string text;
    if (const int result = ITunesStatusCode(m_track->GetText(*field, text)))
        return result;
    value = AString(std::move(text));
    return 0;
}

int ITunesAppTrack::SetText(ITunesTrackProperty property, const AString& value) {
    const std::optional<TextField> field = TextFieldOf(property);
    return field ? ITunesStatusCode(m_track->SetText(*field, value.GetCString())) : kErrorITunesCall;
}

int ITunesAppTrack::GetNumber(ITunesTrackProperty property, int32_t& value) {
    if (property == ITunesTrackProperty::Size) {
        int64_t size = 0;
        if (const int result = ITunesStatusCode(m_track->GetSize(size)))
            return result;
        value = static_cast<int32_t>(std::min<int64_t>(size, std::numeric_limits<int32_t>::max()));
        return 0;
    }
    const std::optional<NumberField> field = NumberFieldOf(property);
    return field ? ITunesStatusCode(m_track->GetNumber(*field, value)) : kErrorITunesCall;
}

int ITunesAppTrack::SetNumber(ITunesTrackProperty property, int32_t value) {
    const std::optional<NumberField> field = NumberFieldOf(property);
    return field ? ITunesStatusCode(m_track->SetNumber(*field, value)) : kErrorITunesCall;
}

int ITunesAppTrack::GetArtworkCount(int32_t& count) {
    std::shared_ptr<itunesapp::ArtworkCollection> artwork;
    if (const int result = ITunesStatusCode(m_track->GetArtwork(artwork)))
        return result;
    return ITunesStatusCode(artwork->GetCount(count));
}

int ITunesAppTrack::SaveArtworkToFile(int32_t item, const AString& path) {
    std::shared_ptr<itunesapp::ArtworkCollection> artwork;
    std::shared_ptr<itunesapp::Artwork> picture;
    if (const int result = ITunesStatusCode(m_track->GetArtwork(artwork)))
        return result;
    if (const int result = ITunesStatusCode(artwork->GetItem(item, picture)))
        return result;
    return ITunesStatusCode(picture->SaveToFile(path.ToSystem8Bit()));
}

int ITunesAppTrack::Delete() {
    return ITunesStatusCode(m_track->Delete());
}
