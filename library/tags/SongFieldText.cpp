#include "library/tags/SongFieldText.h"

#include "library/tags/SongFields.h"
#include "library/tags/TagNumbers.h"

void ApplySongFieldText(SongFields& fields, SongField field, const AString& text,
                        const SongFieldRules& rules) {
    switch (field) {
    case SongField::Title:
        fields.title = text;
        break;
    case SongField::Album:
        fields.album = text;
        break;
    case SongField::Artist:
        if (!rules.albumArtistWins || fields.artist.IsEmpty())
            fields.artist = text;
        break;
    case SongField::AlbumArtist:
        if (rules.albumArtistWins || fields.artist.IsEmpty())
            fields.artist = text;
        break;
    case SongField::TVShow:
        fields.tvShow = text;
        break;
    case SongField::Genre:
        fields.genre = rules.genreName(text);
        break;
    case SongField::GenreCode:
        if (fields.genre.IsEmpty())
            fields.genre = rules.genreName(text);
        break;
    case SongField::Composer:
        fields.composer = text;
        break;
    case SongField::Track:
        fields.trackNumber = TrackNumberOf(text);
        break;
    case SongField::Disc:
        DiscNumbersOf(text, fields.discNumber, fields.discCount);
        break;
    case SongField::Year:
        fields.year = text.GetLength() < rules.minimumYearDigits ? 0 : LeadingNumber(text);
        break;
    case SongField::Compilation:
        fields.compilation = LeadingNumber(text);
        break;
    case SongField::MediaKind:
        fields.mediaKind = static_cast<int32_t>(LeadingNumber(text));
        break;
    case SongField::Podcast:
        fields.podcast = LeadingNumber(text);
        break;
    case SongField::AccountName:
        fields.accountName = text;
        break;
    }
}
