#pragma once
// One rule for putting a text of a tag into the song's fields, whichever format carried it; the few
// places where the formats differ are the format's own rules, handed in.

#include "foundation/AString.h"

struct SongFields;

enum class SongField {
    Title,
    Album,
    Artist,
    AlbumArtist,
    TVShow,
    Genre,
    GenreCode, // fills the genre only when no genre text came
    Composer,
    Track,
    Disc,
    Year,
    Compilation,
    MediaKind,
    Podcast,
    AccountName,
};

struct SongFieldRules {
    // The album artist replaces the artist (ID3v2.4); otherwise it only fills an empty artist.
    bool albumArtistWins = false;
    // How a genre text (a name or a genre number) becomes the genre's name.
    AString (*genreName)(const AString& text) = nullptr;
    // A year text shorter than this gives no year.
    int minimumYearDigits = 0;
};

void ApplySongFieldText(SongFields& fields, SongField field, const AString& text,
                        const SongFieldRules& rules);
